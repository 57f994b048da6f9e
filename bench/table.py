"""Prints the benchmark results as one table, with each target and whether it is met."""
import json
import sys

results = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}


def cpu_ms(name):
    return results[name]["cpu_time"]


rows = []
for size, label in ((0, "1k / 10k"), (1, "5k / 50k"), (2, "10k / 100k")):
    load, floor = cpu_ms(f"BM_CargaArbol/{size}"), cpu_ms(f"BM_TwoSelectFloor/{size}")
    rows.append((f"tree load, {label}", f"{load:.0f} ms", f"{load / floor:.1f}x the two-SELECT floor ({floor:.0f} ms)",
                 "within 4x" if size == 2 else "", "met" if size != 2 or load <= 4 * floor else "MISSED"))
small, large = cpu_ms("BM_KeyMoveOf1000Nodes/10000"), cpu_ms("BM_KeyMoveOf1000Nodes/100000")
rows.append(("key move of 1,000 nodes, 10k tree", f"{small / 2:.2f} ms", "per move", "", ""))
rows.append(("key move of 1,000 nodes, 100k tree", f"{large / 2:.2f} ms", f"{large / small:.2f}x the 10k tree",
             "within 1.5x", "met" if large <= 1.5 * small else "MISSED"))
check = cpu_ms("BM_CheckFromRoot")
rows.append(("check propagation from the root, 110k nodes", f"{check:.1f} ms", "", "under 1 s",
             "met" if check < 1000 else "MISSED"))
save = cpu_ms("BM_SaveLargest/iterations:3")
rows.append(("save of the largest tree with its reload", f"{save:.0f} ms", "one transaction", "under 1 s",
             "met" if save < 1000 else "MISSED"))
memory = results["BM_MemoryOfLoadedTree/iterations:1"]["bytes_per_node"]
rows.append(("heap of the loaded largest tree", f"{memory:.0f} B/node", "texts included", "under 200 B/node",
             "met" if memory < 200 else "MISSED"))

header = ("measure", "result", "", "target", "")
widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(5)]
for row in [header] + rows:
    print(" | ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip())
