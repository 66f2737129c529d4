#pragma once

#include <QString>

namespace quarix::search {

// Page arithmetic of a paged result: M records a page (M = 0: one page of
// everything), C records in all, pages counted from 0.
struct Paging {
    long resultCount = 0; // C
    int pageSize = 0;     // M

    // ceil(C / M), at least 1; 1 when M is 0.
    long pageCount() const;
    // Records skipped before the first record of the page.
    long firstIndex(long page) const;
    // Records the page holds (0 past the end).
    long rowsOnPage(long page) const;
    bool hasPrevious(long page) const;
    bool hasNext(long page) const;
    // The page a "Prev" / "Next" click leads to.
    long previous(long page) const;
    long next(long page) const;
};

// "Prev (p)" and "Next (p + 2)": the 1-based numbers of the neighbouring pages.
QString previousPageCaption(long page);
QString nextPageCaption(long page);

} // namespace quarix::search
