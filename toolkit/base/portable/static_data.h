// Internal control of the per-process static-data table.
#pragma once

// Destroys every block of the calling process (destructors in reverse order of creation) and
// frees the process's table; the next wynk_static_get_ptr starts afresh. Called by wynwi_End.
void portable_static_release();
