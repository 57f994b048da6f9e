#include "host/app/FindCommand.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "host/app/StoreAccess.h"
#include "platform/text/VisibleText.h"
#include "store/Hallazgos.h"

namespace xel::app {

namespace {

const char* Kind(const Hallazgo& hallazgo) {
  return hallazgo.tipo == Hallazgo::Tipo::Clase ? "class" : "variable";
}

void PrintText(const std::vector<Hallazgo>& hallazgos) {
  for (const Hallazgo& hallazgo : hallazgos) {
    std::cout << Kind(hallazgo) << '\t' << VisibleText(hallazgo.ruta) << '\t'
              << VisibleText(hallazgo.clave) << '\n';
  }
}

// A list of objects {"kind", "path", "key"}; a byte of the store that is not UTF-8 is written as
// U+FFFD.
void PrintJson(const std::vector<Hallazgo>& hallazgos) {
  auto list = nlohmann::ordered_json::array();
  for (const Hallazgo& hallazgo : hallazgos) {
    list.push_back({{"kind", Kind(hallazgo)}, {"path", hallazgo.ruta}, {"key", hallazgo.clave}});
  }
  std::cout << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace

int RunFindCommand(const Options& options) {
  return RunOnStore(options, [&](Connection& db) {
    std::vector<Hallazgo> hallazgos = Busca(db, options.text);
    options.format == "json" ? PrintJson(hallazgos) : PrintText(hallazgos);
    return OutputWritten();
  });
}

}  // namespace xel::app
