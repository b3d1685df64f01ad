#include "platform/string_table.h"

// The version texts come from the project's version (see CMakeLists.txt).

std::u16string_view LoadStringResource(int id) {
    switch (id) {
    case IDS_ABOUTBOX: return u"&About Tolvemar...";
    case IDS_MAIN_TITLE: return u"Tolvemar RE v" TOLVEMAR_VERSION_SHOWN;
    case IDS_LOCAL_VERSION: return u"" TOLVEMAR_VERSION_NUMBER;
    case AFX_IDS_APP_TITLE: return u"Tolvemar";
    default: return {};
    }
}
