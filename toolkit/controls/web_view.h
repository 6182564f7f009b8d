// Web views (kind 35): the platform's web browser object hosted in the control, opening the
// address that is the control's text; control_set_text opens another and control_get_text
// reads the one shown. web_view_command goes back, forward, reloads or stops. Where the
// platform has no web engine (the HTML document object cannot be made), nothing is hosted:
// the control shows, at its size, a plain text saying so and naming the address, and still
// reads back the address it was given; no page is ever waited for.
//
// While at least one web view exists, event_wait's message filter is installed, so that the
// page gets its keys (Tab, Ctrl+C) before the window's shortcuts; it is removed with the last.
//
// Events: EVENT_GADGET with EVENTTYPE_CHANGE when a page has loaded.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_WEB = 35;

constexpr int WEB_VIEW_BACK = 1;
constexpr int WEB_VIEW_FORWARD = 2;
constexpr int WEB_VIEW_RELOAD = 3;
constexpr int WEB_VIEW_STOP = 4;

// The fallback's text comes before the address.
constexpr char16_t WEB_VIEW_NO_ENGINE[] = u"No web engine is available to show this page:";

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber web_view_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* address,
                             std::uint32_t flags);

// 1 when the hosted browser took the command; 0 for the fallback or another kind.
int web_view_command(ObjectNumber control, int command);

// True when the control hosts the browser object (false for the fallback).
bool web_view_hosts_browser(ObjectNumber control);

// For tests: host the browser object even where no web engine is present (it is then made
// and in-place activated, but never loads a page).
void web_view_host_without_engine(bool host);
