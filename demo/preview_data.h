// DialogPreview's sample data: --items NAME=FILE fills a named list view, list icon, tree or
// combo box from a UTF-8 file (one item a line; for a tree each leading tab is one level
// deeper, for a list icon tabs separate the cells), --state NAME=NUMBER sets a control's
// state once the window is open, and --dump makes closing the window print
// "CONTROL <name> <state> <text>" for every named control.
#pragma once

#include "core/object.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct PreviewData {
    std::vector<std::pair<std::u16string, std::u16string>> items;  // control name, file
    std::vector<std::pair<std::u16string, int>> states;            // control name, state
    bool dump = false;
};

// Takes the option at argv[index] with its value: the number of arguments it used, 0 when
// argv[index] is none of these options, -1 when its value is missing or malformed.
int preview_data_option(int argc, wchar_t** argv, int index, PreviewData* data);

// Fills the items and sets the states in the open dialog; false with a message on failure.
bool preview_data_apply(ObjectNumber dialog, const PreviewData& data, std::string* message);

// The dump's lines, one per named control in the order of the names, each ending in a line
// feed; in the text a backslash, carriage return and line feed are written \\, \r and \n.
std::string preview_data_dump(const std::map<ObjectNumber, std::string>& names);
