// Resource identifiers shared by Papershift7.rc and the program's C++ code.
#ifndef PAPERSHIFT7_RESOURCES_RESOURCE_H
#define PAPERSHIFT7_RESOURCES_RESOURCE_H

// The lowest icon id, so Explorer and the window class pick this one.
#define IDI_MAINICON 1

// 160 x 16, 24 bits: ten 16 x 16 menu images side by side, image i at x = 16 * i.
// Magenta (255, 0, 255) marks the transparent pixels.
#define IDB_MENUIMAGES 101

// RT_RCDATA: the 300 x 200 JPEG shown by the splash window.
#define IDR_SPLASH 102

// The application manifest is resource 1 (CREATEPROCESS_MANIFEST_RESOURCE_ID) of type
// 24 (RT_MANIFEST); windows.h defines both names, so they are not repeated here.

#endif
