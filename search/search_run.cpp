// SearchRun: the press of the search button, step by step, and the automatic page run whose state
// the button's caption carries ("Stop" while running, "SO" otherwise). A press during a run comes
// back here nested, from the window's event processing inside HarvestPage.
#include "search/search_run.h"

#include <cstdint>
#include <string>

#include "search/blacklist.h"
#include "search/harvest_page.h"
#include "search/search_query.h"
#include "search/settings_file.h"
#include "search/status_texts.h"
#include "search/text_to_integer.h"
#include "search/timestamps.h"

int RunResultCount = 0;
bool AutoRunActive = false;

namespace {

constexpr std::string_view kRunningCaption = "Stop";
constexpr std::string_view kIdleCaption = "SO";

bool CustomSiteMissing(const WindowControls& window) {
    return window.IsSelected(Control::单选框EX7) && window.Text(Control::编辑框4).empty();
}

std::vector<std::string> CurrentBlacklist(const WindowControls& window) {
    return SplitBlacklist(window.Text(Control::编辑框3));
}

void EndAutomaticRun(WindowControls& window) {
    window.SetCaption(std::string(kIdleCaption));
    AutoRunActive = false;
}

// A press while the caption reads "Stop" stops the run in progress, which finishes its page; any
// other press starts a run. The end page is read again after every page, and only equality ends
// the run, so the user can move the end while it goes.
void RunAutomaticPages(WindowControls& window, const std::string& query, const std::string& filter) {
    if (window.Caption() == kRunningCaption) {
        EndAutomaticRun(window);
    } else {
        window.SetCaption(std::string(kRunningCaption));
        AutoRunActive = true;
    }
    std::int64_t page = TextToInteger(window.Text(Control::编辑框5));
    while (AutoRunActive) {
        const PageOutcome outcome = HarvestPage(window, page, query, CurrentBlacklist(window), filter);
        // The window was closed at one of the page's event-processing points: no further page.
        if (outcome == PageOutcome::WindowClosed) {
            return;
        }
        // Going on after a verification page only deepens the block.
        if (outcome == PageOutcome::VerificationAsked ||
            TextToInteger(window.Text(Control::编辑框6)) == page) {
            EndAutomaticRun(window);
            return;
        }
        ++page;
    }
}

}  // namespace

void SearchRun(WindowControls& window, const std::filesystem::path& programFolder) {
    if (CustomSiteMissing(window)) {
        window.SetStatusText(CustomSiteMissingText());
        return;
    }
    RunResultCount = 0;
    SaveSettings(window, programFolder);
    if (window.IsSelected(Control::选择框1)) {
        window.DeleteAllRows();
    }
    const std::string query = ComposeQuery(window);
    const std::int32_t now = TextToInteger(UnixTimeNow());
    const std::string filter = ComposeFilter(window, now);
    if (window.IsSelected(Control::单选框EX4)) {
        const std::int64_t page = TextToInteger(window.Text(Control::编辑框2));
        HarvestPage(window, page, query, CurrentBlacklist(window), filter);
        return;
    }
    RunAutomaticPages(window, query, filter);
}
