// The program icon, in every size it ships.
#pragma once

#include <QByteArray>
#include <QIcon>

QIcon ProgramIcon();

// The PNG bytes of the icon at `size` pixels (one of kIconSizes), empty when
// that size is not shipped.
QByteArray ProgramIconPng(int size);
