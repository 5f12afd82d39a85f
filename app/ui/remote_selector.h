// The remote system selector: the UPS systems of the network to choose one to view.
#pragma once

// Opens the remote system selector (113); false when it could not be made.
bool open_remote_selector();
