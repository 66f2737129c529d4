#include "search/Paging.h"

#include <algorithm>

namespace quarix::search {

long Paging::pageCount() const {
    if (pageSize <= 0 || resultCount <= 0)
        return 1;
    return (resultCount + pageSize - 1) / pageSize;
}

long Paging::firstIndex(long page) const {
    return pageSize <= 0 ? 0 : page * pageSize;
}

long Paging::rowsOnPage(long page) const {
    if (pageSize <= 0)
        return page == 0 ? resultCount : 0;
    return std::clamp(resultCount - firstIndex(page), 0L, static_cast<long>(pageSize));
}

bool Paging::hasPrevious(long page) const {
    return pageSize > 0 && page > 0;
}

bool Paging::hasNext(long page) const {
    return pageSize > 0 && page + 1 < pageCount();
}

long Paging::previous(long page) const {
    return page > 0 ? page - 1 : page;
}

long Paging::next(long page) const {
    return hasNext(page) ? page + 1 : page;
}

QString previousPageCaption(long page) {
    return QStringLiteral("Prev (") + QString::number(page) + QLatin1Char(')');
}

QString nextPageCaption(long page) {
    return QStringLiteral("Next (") + QString::number(page + 2) + QLatin1Char(')');
}

} // namespace quarix::search
