// The table control: lines of text in columns, fetched through a callback, in a window of its own.
#pragma once
