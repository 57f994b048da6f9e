#include "dialog/frmZULAddVariables.h"

namespace xel {

frmZULAddVariables::frmZULAddVariables(FormsRuntime& runtime, Publico& publico,
                                       const TextBoxZul& txtIDPrincipal)
    : Form(runtime, "frmZULAddVariables"), publico_(publico), txtIDPrincipal_(txtIDPrincipal) {}

void frmZULAddVariables::InitializeComponent() {}
void frmZULAddVariables::Form_Load() {}
void frmZULAddVariables::Form_Activate() {}
void frmZULAddVariables::Form_QueryUnload(int&, UnloadMode) {}

}  // namespace xel
