// "Set Password...": asks for the notes password and derives the note key from it.
#include "app/app_state.h"
#include "app/note_key.h"
#include "app/secret.h"

#include "toolkit/requester.h"

void note_forget_key()
{
    secret_wipe(g_app.note_key.data(), g_app.note_key.size());
    g_app.note_key.fill(0);
    g_app.password_defined = false;
}

void note_define_password()
{
    std::u16string password = requester_input(u"Notes Password", u"Specify PWD:", u"", 0);
    SecretTextGuard wipe(password);
    // An empty entry, or a key that could not be derived, leaves the notes locked; the
    // old key is no longer of use, so it does not stay in memory.
    if (password.empty() || !note_derive_key(password, g_app.note_key)) {
        note_forget_key();
        notes_status(u"PWD not defined", COLOR_FAILURE);
        return;
    }
    g_app.password_defined = true;
    notes_status(u"PWD defined", COLOR_SUCCESS);
}
