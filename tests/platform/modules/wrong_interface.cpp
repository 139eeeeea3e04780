// SPDX-License-Identifier: GPL-3.0-or-later
// A module built for another interface than the program's.
#include <QtGlobal>

extern "C" Q_DECL_EXPORT const char *hoshi_module_interface()
{
    return "hoshinotamago speech 0";
}

extern "C" Q_DECL_EXPORT const void *hoshi_module(const char *)
{
    return nullptr;
}
