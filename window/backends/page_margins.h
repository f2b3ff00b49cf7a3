#pragma once

#include <QMarginsF>

#include <algorithm>

namespace window {

// A printer that prints up to the paper's edge still gets this much white around the page, in
// millimetres.
inline constexpr double minimumMarginMm = 10.0;

// The printer's own margins, widened to the minimum.
inline QMarginsF pageMarginsMm(const QMarginsF &printerMarginsMm)
{
    const auto widen = [](qreal margin) { return std::max(margin, minimumMarginMm); };
    return { widen(printerMarginsMm.left()), widen(printerMarginsMm.top()),
        widen(printerMarginsMm.right()), widen(printerMarginsMm.bottom()) };
}

} // namespace window
