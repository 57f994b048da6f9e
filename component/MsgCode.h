#pragma once

namespace xel {

// Message codes the windows pass to Mensaje.
namespace MsgCode {
inline constexpr long Critical = 16;           // critical icon, OK
inline constexpr long Exclamation = 48;        // exclamation icon, OK
inline constexpr long OkCancelQuestion = 289;  // OK and Cancel, question icon, Cancel default
// Yes, No and Cancel, question icon, Cancel default: whether to keep work before it is lost.
inline constexpr long YesNoCancelQuestion = 547;
inline constexpr long Ok = 1;      // the answer OK
inline constexpr long Cancel = 2;  // the answer Cancel
inline constexpr long Yes = 6;     // the answer Yes
inline constexpr long No = 7;      // the answer No
}  // namespace MsgCode

}  // namespace xel
