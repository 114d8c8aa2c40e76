// The program tells the page: after each frame and each call of the page, the report of what the
// page shows beside the picture is built, and what changed since the last one goes to the page's
// script as one JSON object, the only way the script learns of it.
#include "web/glut_web.h"
#include "web/page.h"

#include <emscripten.h>
#include <string>
#include <utility>

namespace {

// clang-format off
EM_JS(void, sendReport, (const char* changes), {
    if (Module.onReport) Module.onReport(UTF8ToString(changes));
});
// clang-format on

ShowReport lastReport;
bool reported = false;
// The page's own query, whose other parameters the address keeps.
std::string pageQueryText;

} // namespace

void reportToPage() {
    ShowReport now;
    pageTimeInReport(now, pageQueryText);
    inspectionInReport(now);
    handPoseInReport(now);
    now.title = windowTitle();
    const std::string changes = reportChanges(reported ? &lastReport : nullptr, now);
    if (changes.empty()) {
        return;
    }
    lastReport = std::move(now);
    reported = true;
    sendReport(changes.c_str());
}

extern "C" {

// The page's query as it opened, for the address the report gives.
EMSCRIPTEN_KEEPALIVE void webPageQuery(const char* query) {
    pageQueryText = query;
    reportToPage();
}

} // extern "C"
