#include "persistence/build_state.h"

#include "platform/string_table.h"
#include "shell/options.h"

bool g_bModified = false;
bool g_bSaveFileOpen = false;
std::u16string g_szSaveFilePath;
int32_t g_nSelectedSlot[kJobCount] = {};
int32_t g_nAutoRunJob = NO_JOB;

namespace {
std::function<void(const std::u16string&)>& TitleSink() {
    static std::function<void(const std::u16string&)> sink;
    return sink;
}
}  // namespace

std::u16string FileNameOf(const std::u16string& path) {
    const size_t slash = path.find_last_of(u'/');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string ComposeMainTitle() {
    std::u16string title(LoadStringResource(IDS_MAIN_TITLE));
    if (g_bSaveFileOpen || g_Options.SaveToFile) {
        title += u" - ";
        title += FileNameOf(g_szSaveFilePath);
    }
    if (g_bModified) title += u" *";
    return title;
}

void UpdateMainTitle() {
    if (TitleSink()) TitleSink()(ComposeMainTitle());
}

void SetMainTitleSink(std::function<void(const std::u16string&)> sink) { TitleSink() = std::move(sink); }

void ResetBuildState() {
    g_bModified = false;
    g_bSaveFileOpen = false;
    g_szSaveFilePath.clear();
    for (int32_t& slot : g_nSelectedSlot) slot = 0;
    g_nAutoRunJob = NO_JOB;
}
