// Controls: numbered objects that each wrap one platform child window. Every control kind
// fills one ControlOps table; the generic operations below look the control up and call the
// kind's operation, falling back to a plain platform call where the kind has none.
//
// Handles and message parameters use plain integer types so that this header builds without
// the platform headers: void* is a window, font or brush handle, std::uintptr_t a WPARAM,
// std::intptr_t an LPARAM or LRESULT (the same types on 64-bit Windows).
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>

// Kind numbers of the controls the journal's dialog uses.
constexpr int CONTROL_KIND_BUTTON = 1;
constexpr int CONTROL_KIND_STRING = 2;
constexpr int CONTROL_KIND_TEXT = 3;
constexpr int CONTROL_KIND_LISTVIEW = 6;
constexpr int CONTROL_KIND_EDITOR = 22;
constexpr int CONTROL_KIND_PANEL = 28;

// Returned by a notification or message operation that leaves the message to the caller.
constexpr std::intptr_t CONTROL_NOT_HANDLED = 0xD0D0D0D1;

// Which colour control_set_color and control_get_color mean; -1 as a colour is the system's.
constexpr int CONTROL_COLOR_FRONT = 1;
constexpr int CONTROL_COLOR_BACK = 2;
constexpr std::int32_t CONTROL_COLOR_DEFAULT = -1;

// A font handle of -1 stands for the stock DEFAULT_GUI_FONT; control -1 in control_set_font
// sets the font of controls created afterwards.
constexpr std::intptr_t CONTROL_FONT_DEFAULT = -1;

struct ControlOps;

// The record of one control in the controls table.
struct ControlRecord {
    void* handle;                 // the platform window (primary handle)
    const ControlOps* ops;        // the kind's table
    void* kind_data;              // a further kind's own record, or a spin's arrows window
    void* previous_procedure;     // the window procedure replaced by the common subclass
    std::int32_t back_color;      // text, string, listview, editor: -1 = system default
    std::int32_t front_color;     // likewise
    void* back_brush;             // shared brush held for back_color (text, string, listview)
    std::intptr_t kind_state;     // a kind's own value: bare frame, three states, marquee, image
    struct EditorState* editor;   // the editor kind's own state; null for other kinds
    std::uint64_t stamp;          // unique to this control's life; 0 once freed (control_life)
    std::int32_t focus_rank;      // place in the definition it was made from, 0 when none (Tab order)
};

// One table per kind; every slot is optional. A generic operation on a kind without the slot
// falls back to a platform call or returns 0 (or "") and does nothing.
struct ControlOps {
    int kind = 0;
    // Messages the parent forwards (WM_COMMAND, WM_NOTIFY, colour and scroll messages);
    // CONTROL_NOT_HANDLED lets the window procedure go on.
    std::intptr_t (*notify)(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                            std::intptr_t lparam) = nullptr;
    // Messages to the control's own window before its previous procedure sees them (the
    // kind's own subclass); CONTROL_NOT_HANDLED passes the message on.
    std::intptr_t (*window_message)(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam) = nullptr;
    // Runs after the platform window is gone, before the record is freed.
    void (*destroy)(ControlRecord* record) = nullptr;
    int (*get_state)(ControlRecord* record) = nullptr;
    int (*set_state)(ControlRecord* record, int value) = nullptr;
    std::u16string (*get_text)(ControlRecord* record) = nullptr;
    int (*set_text)(ControlRecord* record, const char16_t* text) = nullptr;  // text is never null
    int (*add_item)(ControlRecord* record, int position, const char16_t* text) = nullptr;
    int (*add_item_ex)(ControlRecord* record, int position, const char16_t* text, std::intptr_t image,
                       std::intptr_t flags) = nullptr;
    int (*remove_item)(ControlRecord* record, int index) = nullptr;
    int (*clear_items)(ControlRecord* record) = nullptr;
    // Gets resolved values: UNCHANGED has already been replaced by the current ones.
    int (*resize)(ControlRecord* record, int x, int y, int width, int height) = nullptr;
    int (*count_items)(ControlRecord* record) = nullptr;
    int (*get_item_state)(ControlRecord* record, int index) = nullptr;
    int (*set_item_state)(ControlRecord* record, int index, int state) = nullptr;
    std::u16string (*get_item_text)(ControlRecord* record, int index) = nullptr;
    int (*set_item_text)(ControlRecord* record, int index, const char16_t* text) = nullptr;
    int (*open_item)(ControlRecord* record, int item) = nullptr;  // open item as container
    int (*get_x)(ControlRecord* record) = nullptr;
    int (*get_y)(ControlRecord* record) = nullptr;
    int (*get_width)(ControlRecord* record) = nullptr;
    int (*get_height)(ControlRecord* record) = nullptr;
    int (*hide)(ControlRecord* record, int hidden) = nullptr;
    std::intptr_t (*get_attribute)(ControlRecord* record, int attribute) = nullptr;
    int (*set_attribute)(ControlRecord* record, int attribute, std::intptr_t value) = nullptr;
    int (*set_color)(ControlRecord* record, int which, std::int32_t color) = nullptr;
    std::int32_t (*get_color)(ControlRecord* record, int which) = nullptr;
    int (*set_item_data)(ControlRecord* record, int index, std::intptr_t data) = nullptr;
    std::intptr_t (*get_item_data)(ControlRecord* record, int index) = nullptr;
    // Natural size for the dialog layout; returns 0 when the kind has none.
    int (*natural_size)(ControlRecord* record, int* width, int* height) = nullptr;
    int (*activate)(ControlRecord* record) = nullptr;
    void* (*get_font)(ControlRecord* record) = nullptr;
    int (*set_font)(ControlRecord* record, void* font) = nullptr;  // font is a real handle, never -1
    int (*set_item_image)(ControlRecord* record, int index, std::intptr_t image) = nullptr;
};

// ---- Component life ----

// Creates the controls table and state, the brush lock, takes DEFAULT_GUI_FONT as default
// font and initialises the common controls. Returns 0 on failure.
int control_start();
// Frees every control and the brush list.
void control_end();

// ---- Generic operations: each returns 0 (or "") for a number that names no control ----

int control_exists(ObjectNumber control);
void* control_os_handle(ObjectNumber control);
int control_kind(ObjectNumber control);

int control_set_text(ObjectNumber control, const char16_t* text);  // muted; null counts as ""
std::u16string control_get_text(ObjectNumber control);
int control_set_state(ObjectNumber control, int value);  // muted
int control_get_state(ObjectNumber control);
// Muted; position -1 appends. Uses the kind's extended add if it has one.
int control_add_item(ObjectNumber control, int position, const char16_t* text, std::intptr_t image = 0,
                     std::intptr_t flags = 0);
int control_remove_item(ObjectNumber control, int index);
int control_clear_items(ObjectNumber control);
int control_count_items(ObjectNumber control);
int control_get_item_state(ObjectNumber control, int index);
int control_set_item_state(ObjectNumber control, int index, int state);
std::u16string control_get_item_text(ObjectNumber control, int index);
int control_set_item_text(ObjectNumber control, int index, const char16_t* text);
int control_set_item_data(ObjectNumber control, int index, std::intptr_t data);
std::intptr_t control_get_item_data(ObjectNumber control, int index);
int control_set_item_image(ObjectNumber control, int index, std::intptr_t image);
int control_set_color(ObjectNumber control, int which, std::int32_t color);
std::int32_t control_get_color(ObjectNumber control, int which);
int control_set_attribute(ObjectNumber control, int attribute, std::intptr_t value);
std::intptr_t control_get_attribute(ObjectNumber control, int attribute);
// Font -1 is DEFAULT_GUI_FONT; control -1 sets the default font of later controls.
int control_set_font(ObjectNumber control, std::intptr_t font);
void* control_get_font(ObjectNumber control);
// Control -1 takes the focus away from every control.
int control_activate(ObjectNumber control);
int control_disable(ObjectNumber control, int disabled);
int control_hide(ObjectNumber control, int hidden);
// Position in the parent's client coordinates; UNCHANGED keeps a value.
int control_resize(ObjectNumber control, int x, int y, int width, int height);
int control_x(ObjectNumber control);
int control_y(ObjectNumber control);
int control_width(ObjectNumber control);
int control_height(ObjectNumber control);
// The kind's natural size, or 0, 0 (and result 0) when it has none.
int control_required_size(ObjectNumber control, int* width, int* height);
// Destroys the control's window; the record goes with it. -1 frees all controls.
int control_free(ObjectNumber control);

// Runs the kind's open-as-container operation (a panel: item -2 pushes the panel itself,
// an index makes that tab's page the current container).
int container_open_list(ObjectNumber control, int item = -2);
// Pops the container stack: the saved container becomes current again.
void container_close_list();

// ---- For control kinds ----

// The record of a live control, or null.
ControlRecord* control_record(ObjectNumber control);

// The platform window that receives new controls (null when there is none).
void* container_current();
// Makes a window (or panel page) the current container, replacing the top of the stack.
void container_set_current(void* handle);
// Saves the current container on the stack, then makes the given one current.
int container_push(void* handle);
// Makes a newly opened window the current container, keeping the previous window's stack
// with that window (each window has a stack of its own).
int container_use_window(void* window_handle);

// The font new controls get (a real handle).
void* control_default_font();

// The one-shot word: every registration clears it, and an option button sets it right after
// its own, so an option made while it is set joins the group of the option made before it.
std::intptr_t control_one_shot();
void control_set_one_shot(std::intptr_t value);

// Registers a window that a kind created (child identifier -1, parent container_current()):
// takes the record, subclasses the window, sets GWL_ID and GK_ID, sends the default font.
// Returns the number for GK_ANY, else the window handle; on failure destroys the window and
// returns 0. The record (colours -1) is stored in *record_out when that is not null.
ObjectNumber control_register(ObjectNumber number, void* handle, const ControlOps* ops, ControlRecord** record_out);

// CreateWindowExW in the current container with the given class, styles and text, then
// control_register. Returns as control_register does.
ObjectNumber control_create_window(ObjectNumber number, const char16_t* class_name, const char16_t* text,
                                   std::uint32_t ex_style, std::uint32_t style, int x, int y, int width, int height,
                                   const ControlOps* ops, ControlRecord** record_out);

// Calls the window procedure that the common subclass replaced.
std::intptr_t control_call_previous(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam);

// A handler may free anything, the control that raised its event included. So a kind takes
// the control's life before anything that can run handlers (a raise, the previous window
// procedure, a message that makes the platform control notify) and touches the record after
// it only while control_alive says the same control still lives.
struct ControlLife {
    ObjectNumber number;
    std::uint64_t stamp;
};
ControlLife control_life(const ControlRecord* record);
// The live record of the control the life was taken from, or null once it was freed (also
// when a later control was given the same number).
ControlRecord* control_alive(const ControlLife& life);

// Raises EVENT_GADGET for the control with the given type; the window number is that of the
// first ancestor that is a toolkit window. Flags as in event_post (0: dropped while muted).
// Returns true when the control outlived the handlers; on false the record is gone.
bool control_raise_event(const ControlRecord* record, int type, std::uint32_t flags = 0);

// Offers a message the parent received to the control it names (checked by GK_ID equal to
// GWL_ID); a companion window that carries the control's number in both reaches the control
// too. Returns the kind's answer, or CONTROL_NOT_HANDLED.
std::intptr_t control_offer_notification(void* child, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

// Colours of text, string and listview: sets the front or back colour (taking or releasing
// the shared brush of the back colour) and redraws the control. Returns 1, 0 for a bad `which`.
int control_color_set(ControlRecord* record, int which, std::int32_t color);
std::int32_t control_color_get(ControlRecord* record, int which);
// Answers a WM_CTLCOLOR* message forwarded for the record: sets the text and back colours on
// the device context and returns the brush to paint with, or CONTROL_NOT_HANDLED when the
// control has no colour of its own.
std::intptr_t control_color_paint(ControlRecord* record, unsigned message, std::uintptr_t device_context);
// Releases the record's shared brush (a kind's destroy operation calls it).
void control_color_release(ControlRecord* record);

// ---- Shared brushes: solid brushes keyed by colour, counted by reference ----

// Takes a reference to the solid brush of the colour, creating it on first use; null on failure.
void* brush_acquire(std::int32_t color);
// Drops a reference; the brush is deleted with its last one. Null does nothing.
void brush_release(void* brush);
// Live shared brushes, for tests.
std::size_t brush_count();
