// The outage report as one web page that stands alone: no script, nothing fetched from
// elsewhere (its style is inline), so that it opens and prints the same on any computer and
// can be mailed as it is. Laid out for paper: a few pages for a week of a failing line.
#pragma once

#include <string>
#include <string_view>

#include "monitor/outage_report.h"

namespace zv::monitor {

// Text made safe inside an element or a quoted attribute: & < > " ' as references, and
// what is no UTF-8, a control character or DEL as U+FFFD, so that no name a host or an
// adapter may carry can end an element or change the page's meaning.
std::string HtmlText(std::string_view text);

// The page, in UTF-8; the report's texts are UTF-8 too.
std::string OutageReportHtml(const OutageReport& report);

}  // namespace zv::monitor
