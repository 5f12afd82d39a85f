// Internal access to error frames for the dispatcher.
#pragma once

#include <cstddef>
#include <wyn/errfrm.h>

// The frame's handler stack (inline room or the heap array).
WYN_ERR_HANDLER_ENTRY* err_frame_handlers(WYN_ERRFRM* frame);

// Writes the chain of marked toolkit functions, innermost first, each followed by a space.
void err_build_api_chain(char* out, size_t size);
