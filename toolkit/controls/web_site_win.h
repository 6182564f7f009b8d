// The site in which a web view hosts the platform's web browser object: in-place
// activated in the control's window, its navigation and its page-loaded notification.
#pragma once

#include <windows.h>

#include <string>

struct WebSite;

// Called when the top-level page has loaded.
using WebLoaded = void (*)(void* context);

// True when the platform's HTML document object can be made (asked once per process);
// initialises OLE for the thread first.
bool web_engine_present();

// Creates the browser object in place over the window's client area and opens the address;
// null on failure.
WebSite* web_site_open(HWND window, const char16_t* address, WebLoaded loaded, void* context);
// Deactivates and releases the browser object; the site goes with its last reference.
void web_site_close(WebSite* site);

int web_site_navigate(WebSite* site, const char16_t* address);
// The address the browser shows, or "" before it has one.
std::u16string web_site_address(WebSite* site);
// 1 when the browser took the command (WEB_VIEW_BACK ... WEB_VIEW_STOP of web_view.h).
int web_site_command(WebSite* site, int command);
void web_site_resize(WebSite* site, int width, int height);
// Offers a key message to the page (Tab, Ctrl+C); true when the page took it.
bool web_site_translate_key(WebSite* site, MSG* message);
