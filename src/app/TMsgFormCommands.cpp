// Commands whose windows and workflows are built with their own subsystems. Each is a stub that does
// nothing until then; the menus and buttons are already wired to them.

#include "TMsgForm.h"

// Stub: the tell-a-friend mail.
void TMsgForm::TellFriends1Click() { }

// Stub: the local help viewer.
void TMsgForm::N6Click() { }

// Stub: the About box.
void TMsgForm::N4Click() { }

// Stub: the interface-language dialog.
void TMsgForm::LanguagesClick() { }
