#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "store/Exportacion.h"
#include "tests/support/FailureOf.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TreeAndStore.h"

namespace xel {
namespace {

using ::testing::AllOf;
using testing::FailureOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Texts = std::vector<std::string>;

const std::string kCabecera = "record,code,parent,position,class,key,value,type,description\n";

// A file that is not well formed (JSON when it opens with a bracket), the line its message must
// name and what the message says.
const std::tuple<std::string, long, const char*> kMalformados[] = {
    {"{\"classes\": [\n{\"code\": \"0001\"", 2, "expected '}'"},
    {"{\"variables\": [\n{\"key\": \"a\xE9\"}]}", 2, "ill-formed UTF-8"},
    {"{\"variables\": [{\"class\": \"1\",\n\"class\": \"2\"}]}", 2, "\"class\" appears twice"},
    // The parser reads one character past a number: a line break there is no line of its own.
    {"{\"variables\": [12\n, {}]}", 1, "must be an object"},
    {"{\"clases\": []}", 1, "unknown list \"clases\""},
    {"{\"classes\": {}}", 1, "\"classes\" must be a list"},
    {std::string(200, '['), 1, "one object"},
    {"{\"variables\": [\n{\"key\": \"K\",\n \"valeu\": \"1\"}]}", 3, "no field \"valeu\""},
    {"{\"classes\": [\n{\"code\": \"1\", \"parent\": \"0\"}]}", 2, "lacks \"position\""},
    {"{\"variables\": [{\"key\": \"K\",\n\"value\": null}]}", 2, "\"value\" must be a string"},
    {"class,0001,0000,0001,,,,,D\n", 1, "the header record,code,parent"},
    {kCabecera + "class,0001,0000,0001,,,,D\n", 2, "this one has 8"},
    {kCabecera + "\nvariable,,,,1,K,a\"b,T,d\n", 3, "a quote inside a field"},
    {kCabecera + "variable,,,,1,K,\"ab\"c,T,d\n", 2, "followed by a comma"},
    {kCabecera + "variable,,,,1,K,\"a\nb\n", 2, "never ends"},
    {kCabecera + "variable,,,,1,K,a\rb,T,d\n", 2, "carriage return"},
    {kCabecera + "clase,0001,0000,0001,,,,,D\n", 2, "not \"clase\""},
    {kCabecera + "class,0001,0000,0001,,IVA,,,D\n", 2, "leaves \"key\" empty"},
    // A record's line is the line it starts on, after fields that span lines.
    {kCabecera + "variable,,,,1,K,\"a\r\nb\nc\",T,d\r\nvariable,,,,1,K2\r\n", 5, "this one has 6"}};

TEST(ArchivoTest, AMalformedFileNamesItselfAndTheWrongLine) {
  for (const auto& [texto, linea, motivo] : kMalformados) {
    const std::string nombre = texto.find_first_of("{[") == 0 ? "v.json" : "v.csv";
    EXPECT_THAT(FailureOf([&] { LeeExportacion(texto, nombre); }).Description(),
                AllOf(StartsWith(nombre + ":" + std::to_string(linea) + ": "), HasSubstr(motivo)))
        << texto;
  }
}

TEST(ArchivoTest, JsonStringsTakeEveryEscapeAndNumbersStandForTheirText) {
  Contenido leido = LeeExportacion(
      "\xEF\xBB\xBF{\"variables\": [{\"class\": \"1\", \"key\": \"\\u00e9\\ud83d\\ude80\\/\", "
      "\"value\": -1.50e+3, \"type\": \"\\b\\f\\n\\r\\t\\\"\\\\\", \"description\": \"\\u0041\"}]}",
      "v.json");
  EXPECT_EQ(testing::RowsOf(leido), Texts{"variable|é🚀/|1|-1.50e+3|\b\f\n\r\t\"\\|A"});
}

// Rows whose texts hold every kind of character a file must carry: quotes, separators, line
// breaks, blanks at the ends, control characters, characters beyond the basic plane.
Contenido ContenidoDeTextosDificiles() {
  const std::vector<std::string> kValores = {"O'Brien \"comillas\", comas",
                                             "línea\nsiguiente\r\nCR LF\rsolo CR",
                                             "\ttabulador\\barra\\",
                                             "  blancos alrededor  ",
                                             "",
                                             "Facturación “electrónica” 🚀 \u2028",
                                             std::string("control \x01\x1f\x7f", 12),
                                             "record,code,parent",
                                             "\b retroceso \f avance",
                                             "\""};
  Contenido contenido;
  for (size_t i = 0; i < kValores.size(); ++i) {
    const std::string& v = kValores[i];
    contenido.clases.push_back({v + "c", v + "p", v + "i", v});
    contenido.variables.push_back({v + "c", v + std::to_string(i), v, v + "t", v});
  }
  return contenido;
}

// Files exported by earlier versions are compared, kept and merged by their users: the same rows
// must always give the same bytes, and read back as they were.
TEST(ArchivoTest, EveryValueKeepsItsBytesAndReadsBackAsItWas) {
  const Contenido textos = ContenidoDeTextosDificiles();
  for (const auto& [archivo, contenido] :
       {std::pair{"vacio.json", Contenido{}}, {"textos.json", textos}, {"textos.csv", textos}}) {
    const std::string texto = Exporta(contenido, FormatoDe(archivo, ""));
    EXPECT_EQ(texto, testing::FileBytes(std::filesystem::path(XEL02_EXPORTS) / archivo));
    EXPECT_EQ(testing::RowsOf(LeeExportacion(texto, archivo)), testing::RowsOf(contenido))
        << archivo;
  }
  const Contenido soloLF = {{{"1", "0", "1", "solo\nLF"}}, {{"1", "K", "solo\nLF", "T", ""}}};
  EXPECT_EQ(testing::RowsOf(LeeExportacion(Exporta(soloLF, FormatoDeArchivo::Csv), "v.csv")),
            testing::RowsOf(soloLF));
}

TEST(ArchivoTest, TheFormIsTheNamesEndingOrElseTheFirstCharacter) {
  using enum FormatoDeArchivo;
  for (const auto& [nombre, texto, formato] : {std::tuple{"a.JSON", "record,", Json},
                                               {"a.csv", "{", Csv},
                                               {"a.txt", " \r\n\t{", Json},
                                               {"-", "record,", Csv},
                                               {"datos", "\xEF\xBB\xBF{", Json}}) {
    EXPECT_EQ(FormatoDe(nombre, texto), formato) << nombre;
  }
}

}  // namespace
}  // namespace xel
