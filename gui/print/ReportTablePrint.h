#pragma once
// A report table laid out for printing, in 0.1 mm units: the columns in on-screen order, each at least 3 x its
// on-screen pixel width and at least as wide as its widest printed text plus a 2 mm gap; columns that do not fit
// the text area's width continue in bands below, each repeating the key column (when shown) so every row can be
// told apart. A band's header row is repeated at the top of every page the band continues on. Only the
// selected rows are printed when some but not all are selected. Control characters print as blanks; the table
// keeps 2.5 base-font lines clear above the bottom of each page.

namespace corvelin {

class CReportTable;
class CStrip;
struct CPageLayoutSettings;
struct CPrintPlan;

// Appends the table's items to plan from strip position y on (advanced past the table), between left and
// left + width.
void LayoutReportTable(CPrintPlan& plan, const CStrip& strip, double& y, double left, double width,
                       const CPageLayoutSettings& layout, const CReportTable& table, int keyColumn);

} // namespace corvelin
