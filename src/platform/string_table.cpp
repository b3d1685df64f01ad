#include "platform/string_table.h"

std::u16string_view LoadStringResource(int id) {
    switch (id) {
    case IDS_ABOUTBOX: return u"&About Tolvemar...";
    case IDS_MAIN_TITLE: return u"Tolvemar RE v2.21c";
    case IDS_LOCAL_VERSION: return u"2.213";
    case AFX_IDS_APP_TITLE: return u"Tolvemar";
    default: return {};
    }
}
