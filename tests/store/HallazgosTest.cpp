#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Hallazgos.h"
#include "store/Statements.h"
#include "tests/support/StoreTest.h"

namespace xel {
namespace {

using Texts = std::vector<std::string>;

// In the editor's tree: Compras (IMPRESORA), Facturación (SERIE), Ventas > Impuestos (IVA), and
// then Ventas's own NOMBRE.
struct HallazgosTest : testing::StoreTest {
  void SetUp() override {
    StoreTest::SetUp();
    if (IsSkipped()) {
      return;
    }
    for (const auto& [codigo, padre, descripcion] :
         {std::tuple{"0001", "0000", "Ventas"}, std::tuple{"0002", "0001", "Impuestos"},
          std::tuple{"0003", "0000", "Facturación"}, std::tuple{"0004", "0000", "Compras"}}) {
      Db().Execute(sql::InsertaClase(codigo, padre, codigo, descripcion));
    }
    for (const auto& [clase, clave, valor, descripcion] :
         {std::tuple{"0002", "IVA", "16", "Impuesto al valor agregado"},
          std::tuple{"0001", "NOMBRE", "Tienda", ""},
          std::tuple{"0003", "SERIE", "A-100", "Serie de facturas"},
          std::tuple{"0004", "IMPRESORA", "LPT1", ""}}) {
      Db().Execute(sql::InsertaVariable(clase, clave, valor, descripcion, "T"));
    }
  }
  Texts Halla(const std::string& texto) {
    Texts hallados;
    for (const Hallazgo& h : Busca(Db(), texto)) {
      hallados.push_back((h.tipo == Hallazgo::Tipo::Clase ? "class " : "variable ") + h.ruta + " " +
                         h.clave);
    }
    return hallados;
  }
};

TEST_P(HallazgosTest, FindsClassesAndVariablesInTheTreesOrderWithTheirPaths) {
  struct Caso {
    const char* texto;
    Texts hallados;
  } const kCasos[] = {
      {"FACTURACION", {"class RAIZ/Facturación 0003"}},
      {"tienda", {"variable RAIZ/Ventas/NOMBRE NOMBRE"}},
      {"o",
       {"class RAIZ/Compras 0004", "variable RAIZ/Compras/IMPRESORA IMPRESORA",
        "class RAIZ/Facturación 0003", "class RAIZ/Ventas/Impuestos 0002",
        "variable RAIZ/Ventas/Impuestos/IVA IVA", "variable RAIZ/Ventas/NOMBRE NOMBRE"}},
      {"raiz", {}},
      {"x'); DELETE FROM XEL_Configuracion; --", {}}};
  for (const Caso& caso : kCasos) {
    EXPECT_EQ(Halla(caso.texto), caso.hallados) << caso.texto;
  }
}

XEL_ON_EVERY_BACKEND(HallazgosTest);

}  // namespace
}  // namespace xel
