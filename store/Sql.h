#pragma once

#include <string>
#include <string_view>

namespace xel {

// The store's tables and columns, as every statement names them.
namespace sql {
inline constexpr char XEL_Clase_Variable[] = "XEL_Clase_Variable";
inline constexpr char Cv_Cve_Clase_Variable[] = "Cv_Cve_Clase_Variable";
inline constexpr char Cv_Id[] = "Cv_Id";
// The same column as the sub-classes' order, the key generator and the pane's look-up spell it: the
// statements keep that spelling, and every store compares column names without regard to case.
inline constexpr char Cv_id[] = "Cv_id";
inline constexpr char Cv_Padre[] = "Cv_Padre";
inline constexpr char Cv_Descripcion[] = "Cv_Descripcion";
inline constexpr char Fecha_Ult_Modif[] = "Fecha_Ult_Modif";

inline constexpr char XEL_Configuracion[] = "XEL_Configuracion";
inline constexpr char Cf_Variable[] = "Cf_Variable";
inline constexpr char Cf_Valor[] = "Cf_Valor";
inline constexpr char Cf_Descripcion[] = "Cf_Descripcion";
inline constexpr char Cf_Tipo[] = "Cf_Tipo";
}  // namespace sql

// The one way a value enters a statement: every single quote doubled, so that the value, put
// between the single quotes of the statement's fixed fragments ("... = '" + Quote(v) + "' "),
// is stored as typed and can never end the quoted text early. A value holding a NUL character is
// refused (err::InvalidProcedureCall): no store keeps it, and it would cut the statement short.
std::string Quote(std::string_view value);

// Whether a table or column name may stand unquoted in a statement: letters, digits and
// underscores, not starting with a digit. Names from elsewhere must pass this before use.
bool IsPlainIdentifier(std::string_view name);
// The name itself when it is a plain identifier; otherwise a run-time error, so that the name is
// never spliced into a statement.
const std::string& RequireIdentifier(const std::string& name);

// A whole number with at least four digits, leading zeros added: 7 gives "0007", 12345 stays
// "12345", -7 gives "-0007". Position numbers and parent links are written this way.
std::string Format0000(long number);
// A position number as the parent links hold it, the way the tree matches them: a number in four
// digits at least, rounded to a whole number ("3" and "0003.0" give "0003"); any other text as it
// is.
std::string NumeroDePosicion(std::string_view posicion);

}  // namespace xel
