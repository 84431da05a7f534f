#pragma once

// The program's own HtmlHelpA: the HTML Help control is loaded on the first call, not at
// program load, and every call is forwarded to it (0 when it is not available).

#include <windows.h>

#include <htmlhelp.h>

// Filled by HH_INITIALIZE at start and handed back to HH_UNINITIALIZE at the end.
DWORD_PTR& HelpCookie();
