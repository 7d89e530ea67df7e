// HarvestPage: the steps of one page in order. Titles and links are decoded from the page's escapes
// as soon as the pattern has matched, so the blacklist, the rows and the redirect check all see what
// the user reads. Row numbers and the status text read the list's row count when they are written,
// so rows deleted meanwhile by a nested handler are reflected. Between appending a row and filling
// its link no events are processed, so the row index stays valid.
#include "search/harvest_page.h"

#include <optional>
#include <vector>

#include "regex/regex_matcher.h"
#include "search/blacklist.h"
#include "search/page_answer.h"
#include "search/page_url.h"
#include "search/resolve_link.h"
#include "search/result_text_decoding.h"
#include "search/search_run.h"
#include "search/status_texts.h"
#include "search/text_to_integer.h"
#include "web/web_request.h"

namespace {

constexpr int kTitleGroup = 1;
constexpr int kLinkGroup = 2;

enum Column { kNumberColumn = 0, kTitleColumn = 1, kLinkColumn = 2 };

// One result's title and link as the user reads them.
struct ResultText {
    std::string title;
    std::string link;
};

std::vector<ResultText> DecodedResults(const RegexMatcher& matcher) {
    std::vector<ResultText> results;
    for (int match = 1; match <= matcher.MatchCount(); ++match) {
        results.push_back({DecodeResultText(matcher.SubMatchText(match, kTitleGroup)),
                           DecodeResultText(matcher.SubMatchText(match, kLinkGroup))});
    }
    return results;
}

// An event-processing point. Once the user has closed the window the search stops here: no
// further request, row or page.
bool ProcessEventsAndGoOn(WindowControls& window) {
    window.ProcessPendingEvents();
    return !window.WindowClosed();
}

// Whether `title` holds a keyword; nullopt when the window was closed meanwhile.
std::optional<bool> IsBlacklisted(WindowControls& window, const std::string& title,
                                  const std::vector<std::string>& keywords) {
    bool dropped = false;
    for (const std::string& keyword : keywords) {
        if (!ProcessEventsAndGoOn(window)) {
            return std::nullopt;
        }
        // Every keyword is tested, also after a hit, as each test is an event-processing point.
        if (TitleContains(title, keyword)) {
            dropped = true;
        }
    }
    return dropped;
}

// The row shows its number and title first; its link cell is filled once the link is resolved. An
// unresolvable redirect link stays in the cell, so the row still leads to its result.
void AppendResultRow(WindowControls& window, const ResultText& result) {
    const int row = window.AppendRow(NumberText(std::int64_t{window.RowCount()} + 1));
    window.SetCell(row, kTitleColumn, result.title);
    std::string link = result.link;
    if (IsRedirectLink(link)) {
        std::string target = ResolveLink(link);
        if (!target.empty()) {
            link = std::move(target);
        }
    }
    window.SetCell(row, kLinkColumn, link);
}

}  // namespace

PageOutcome HarvestPage(WindowControls& window, std::int64_t page, const std::string& query,
                        const std::vector<std::string>& keywords, const std::string& filter) {
    if (window.WindowClosed()) {
        return PageOutcome::WindowClosed;
    }
    RegexMatcher matcher;
    WebRequestOutputs outputs;
    const std::string text =
        WebRequest(PageUrl(page, query, filter), {}, &outputs, [&window] { window.ProcessPendingEvents(); });
    // The request let the window process events; it may have been closed meanwhile.
    if (window.WindowClosed()) {
        return PageOutcome::WindowClosed;
    }
    const PageAnswer answer = ClassifyPageAnswer(text, outputs);
    if (answer == PageAnswer::Verification) {
        window.SetStatusText(VerificationPageText(page, window.RowCount()));
        return PageOutcome::VerificationAsked;
    }

    matcher.ExecutePattern(kExtractionPattern, text);
    RunResultCount += matcher.MatchCount();
    for (const ResultText& result : DecodedResults(matcher)) {
        if (!ProcessEventsAndGoOn(window)) {
            return PageOutcome::WindowClosed;
        }
        const std::optional<bool> dropped = IsBlacklisted(window, result.title, keywords);
        if (!dropped) {
            return PageOutcome::WindowClosed;
        }
        if (!*dropped) {
            AppendResultRow(window, result);
        }
    }

    if (answer == PageAnswer::Failed) {
        window.SetStatusText(FailedPageText(page, outputs.StatusText, window.RowCount()));
        return PageOutcome::RequestFailed;
    }
    window.SetStatusText(PageTotalsText(RunResultCount, window.RowCount()));
    return PageOutcome::Harvested;
}
