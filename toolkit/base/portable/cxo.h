// Internal life-cycle services of the handler-chain objects.
#pragma once

#include <wyn/events.h>

// Destroys every CXO of win's chain (after win's E_DESTROY).
void cxo_destroy_chain(WINDOW win);

// Frees the destroyed CXOs whose calls have all returned.
void cxo_reap();
