// The checker's second step: a window that reads cleanly is built, never shown, so that
// what only the platform can refuse (a code editor without its component, a fixed number
// of a container) is found too.
#include "dialog/dialog_check.h"

#include "dialog/dialog.h"
#include "dialog/dialog_build_win.h"
#include "dialog/dialog_reader.h"
#include "toolkit/window.h"

std::vector<DialogCheckProblem> dialog_check_build(const XmlNode* window)
{
    DialogTree tree;
    DialogMessage message;
    if (!dialog_read_window(window, dialog_registry(), &tree, &message))
        return {};
    ContainerElement* root = tree.root;
    ObjectNumber made = window_open(root->requested, 0, 0, 0, 0, u"", root->flags | GK_Window_Invisible, nullptr);
    if (!made) {
        dialog_message_locate(&message, root->line, root->column);
        dialog_message_report(&message, MESSAGE_WINDOW_FAILED, root->info->name);
    } else {
        root->window = root->requested == -1 ? made : root->requested;
        dialog_build_controls(&tree, &message);
        window_close(root->window);
    }
    if (!message.set)
        return {};
    return {{message.line, message.column, true, dialog_message_wide(message.text)}};
}
