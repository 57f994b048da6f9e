"""Prints the benchmark results as tables: each target and whether it is met, then the store's work
on SQLite beside PostgreSQL through ODBC (when the run had a server), timed by the wall clock."""
import json
import re
import sys

# By name, without the minimum time the server's runs are given.
results = {re.sub(r"/min_time:[0-9.]+", "", b["name"]): b for b in json.load(open(sys.argv[1]))["benchmarks"]}


def cpu_ms(name):
    return results[name]["cpu_time"]


def print_table(header, rows):
    widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(len(header))]
    for row in [header] + rows:
        print(" | ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip())


rows = []
for size, label in ((0, "1k / 10k"), (1, "5k / 50k"), (2, "10k / 100k")):
    load, floor = cpu_ms(f"BM_CargaArbol/{size}"), cpu_ms(f"BM_TwoSelectFloor/{size}")
    rows.append((f"tree load, {label}", f"{load:.0f} ms", f"{load / floor:.1f}x the two-SELECT floor ({floor:.0f} ms)",
                 "within 4x" if size == 2 else "", "met" if size != 2 or load <= 4 * floor else "MISSED"))
kept, plain = cpu_ms("BM_CargaArbolConMilAbiertos"), cpu_ms("BM_CargaArbol/2")
rows.append(("reload keeping 1,000 open classes, 10k / 100k", f"{kept:.0f} ms",
             f"{kept / plain:.2f}x the plain reload ({plain:.0f} ms)", "within 1.2x",
             "met" if kept <= 1.2 * plain else "MISSED"))
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
search = cpu_ms("BM_SearchLargest")
rows.append(("search of the largest tree (F3)", f"{search:.0f} ms", "one query, a walk once round the tree",
             "under 1 s", "met" if search < 1000 else "MISSED"))
memory = results["BM_MemoryOfLoadedTree/iterations:1"]["bytes_per_node"]
rows.append(("heap of the loaded largest tree", f"{memory:.0f} B/node", "texts included", "under 200 B/node",
             "met" if memory < 200 else "MISSED"))
print_table(("measure", "result", "", "target", ""), rows)


# The same measure on each backend; PostgreSQL's runs carry the wall clock in their names.
def run(name, backend, arg=""):
    suffix = "" if arg == "" else f"/{arg}"
    return results.get(name + suffix if backend == "sqlite" else f"{name}/PostgreSql{suffix}/real_time")


def wall(name, backend, arg="", detail=lambda ms: ""):
    found = run(name, backend, arg)
    if found is None:
        return "not run (no XEL02_BENCH_PG)"
    if found.get("error_occurred"):
        return "FAILED: " + found.get("error_message", "")
    ms = found["real_time"]
    return f"{ms:.0f} ms{detail(ms)}"


def ratio(name, arg=""):
    sqlite, server = run(name, "sqlite", arg), run(name, "postgresql", arg)
    if not sqlite or not server or sqlite.get("error_occurred") or server.get("error_occurred"):
        return ""
    return f"{server['real_time'] / sqlite['real_time']:.1f}x"


def against_floor(backend, size):
    floor = run("BM_TwoSelectFloor", backend, size)
    if floor is None or floor.get("error_occurred"):
        return lambda ms: ""
    return lambda ms: f" ({ms / floor['real_time']:.1f}x the two-SELECT floor, {floor['real_time']:.0f} ms)"


ACCEPTS = 1000  # per run of the dialog's benchmarks


def per_accept(ms):
    return f" ({ms * 1000 / ACCEPTS:.0f} us each)"


backends = ("sqlite", "postgresql")
rows = []
for size, label in ((0, "1k / 10k"), (1, "5k / 50k"), (2, "10k / 100k")):
    rows.append([f"tree load, {label}"] + [wall("BM_CargaArbol", b, size, against_floor(b, size)) for b in backends]
                + [ratio("BM_CargaArbol", size)])
rows.append(["save of the largest tree with its reload"]
            + [wall("BM_SaveLargest", b, "iterations:3") for b in backends] + [ratio("BM_SaveLargest", "iterations:3")])
rows.append(["search of the largest tree (F3)"] + [wall("BM_SearchLargest", b) for b in backends]
            + [ratio("BM_SearchLargest")])
for name, label in (("BM_DialogInserts", "1,000 variable INSERTs through the dialog's accept"),
                    ("BM_DialogUpdates", "1,000 variable UPDATEs through the dialog's accept")):
    rows.append([label] + [wall(name, b, detail=per_accept) for b in backends] + [ratio(name)])
print()
print_table(("store work, wall clock", "SQLite", "PostgreSQL through ODBC", "PostgreSQL / SQLite"), rows)
if any(run(name, "postgresql") for name in ("BM_DialogInserts", "BM_DialogUpdates")):
    print("(Each SQLite commit waits for the disk; a throwaway server from scripts/with-postgres.sh runs with fsync "
          "and synchronous_commit off, so its commits do not.)")


# The tree load over a link with 4 ms round trips (PostgreSQL behind the benchmark's own proxy).
def slow_link(name, store):
    found = results.get(f"{name}/{store}/iterations:{2 if name == 'BM_SlowLinkPerClass' else 10}/real_time")
    return None if found is None or found.get("error_occurred") else found["real_time"]


rows = []
for store, label in ((0, "500 classes / 5k"), (1, "1k / 10k")):
    per_class, bulk, floor = (slow_link(n, store) for n in ("BM_SlowLinkPerClass", "BM_SlowLinkBulk", "BM_SlowLinkFloor"))
    if None in (per_class, bulk, floor):
        continue
    rows.append((f"tree load, {label}", f"{per_class:.0f} ms ({per_class / floor:.0f}x)",
                 f"{bulk:.0f} ms ({bulk / floor:.1f}x)", f"{floor:.0f} ms", "within 2x",
                 "met" if bulk <= 2 * floor else "MISSED"))
if rows:
    print()
    print_table(("4 ms round trips, wall clock", "--load classes", "--load bulk", "two-SELECT floor", "target", ""),
                rows)
