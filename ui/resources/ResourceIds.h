#pragma once

// Ids of the resources built into the program files (shared by the resource scripts and C++).

// The program icon (16, 32, 48 and 256 pixels): the first icon of the file, so also the one
// Explorer shows.
#define HALVERN_ICON_ID 1

// The application manifest of a program file.
#define HALVERN_MANIFEST_ID 1
