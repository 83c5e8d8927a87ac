// The operating-system version as the toolkit sees it: one record, read on first use and
// kept. The reader is replaceable so that tests can present other systems (Windows 95,
// 98, XP) than the one they run on.
#pragma once

#include <windows.h>

// Fills the record (its size field already set); FALSE when the version cannot be read.
using QZVersionReader = BOOL (*)(OSVERSIONINFOA* info);

// The cached record. When the reader fails, everything but the size field stays zero,
// so every version test is false.
const OSVERSIONINFOA* QZGetOSVersionInfo();

// Windows 95 (4.0 up to 4.10, Windows 98) or Windows NT 4.0: the systems whose menus lack
// what the image menus and the menu bar's full-menu timer rely on.
bool QZIsWindows95OrNT4();

// Makes reader the one the record is read with (null: the system's) and forgets the
// cached record, so that the next QZGetOSVersionInfo reads again; returns the old reader.
QZVersionReader QZSetVersionReader(QZVersionReader reader);
