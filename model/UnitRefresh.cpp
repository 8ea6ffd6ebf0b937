#include "model/UnitRefresh.h"

#include <algorithm>

namespace velta {

namespace {

// Face tables: elevations, abscissas and circles are lengths written with two
// decimals; the slope is copied as typed.
const std::vector<ColumnRange>& faceColumns()
{
    static const std::vector<ColumnRange> columns = {
        {kColElevation, kColAbscissa, converted(Quantity::Length, 2)},
        {kColSlope, kColSlope, kCopied},
        {kColCircleX, kColCircleRadius, converted(Quantity::Length, 2)},
    };
    return columns;
}

template <int t>
Tab3dim& faceTab(CaseModel& m)
{
    return m.FaceTab[t];
}

// Rows 0..FaceRows[t] inclusive.
template <int t>
int faceRows(const CaseModel& m)
{
    return m.FaceRows[t] + 1;
}

Tab3dim& arcTab(CaseModel& m) { return m.ArcTab; }
Tab3dim& defTab(CaseModel& m) { return m.DefTab; }
Tab3dim& tempTab(CaseModel& m) { return m.TempTab; }
int archRows(const CaseModel& m) { return m.archRows(); }

ConvertedItem scalar(UnitEditor e, const char* name, UnitPair CaseModel::*field, Conversion how,
                     RefreshWhen when = RefreshWhen::Always)
{
    ConvertedItem item{e, name, when};
    item.scalar = field;
    item.how = how;
    return item;
}

ConvertedItem table(UnitEditor e, const char* name, Tab3dim& (*tab)(CaseModel&), int (*rows)(const CaseModel&),
                    TableWalk walk, std::vector<ColumnRange> columns)
{
    ConvertedItem item{e, name};
    item.table = tab;
    item.rows = rows;
    item.walk = walk;
    item.columns = std::move(columns);
    return item;
}

bool holds(RefreshWhen when, const RefreshConditions& c)
{
    return when == RefreshWhen::Always || (when == RefreshWhen::UniformModulusTyped && c.uniformModulusTyped);
}

void refreshCell(Tab3dim& tab, int c, int r, const Conversion& how, int from)
{
    tab(1 - from, c, r) = how.copied ? tab(from, c, r) : convertCell(how.quantity, tab(from, c, r), from, how.decimals);
}

}  // namespace

const std::vector<ConvertedItem>& convertedItems()
{
    using E = UnitEditor;
    using Q = Quantity;
    using M = CaseModel;
    static const std::vector<ConvertedItem> items = {
        // Geometry: the four scalars, every face table, then the arches
        // (angles and control code copied before the elevation).
        scalar(E::Geometry, "TopElev", &M::TopElev, converted(Q::Length)),
        scalar(E::Geometry, "BaseElev", &M::BaseElev, converted(Q::Length)),
        scalar(E::Geometry, "Radius", &M::Radius, converted(Q::Length)),
        scalar(E::Geometry, "RadiusR", &M::RadiusR, converted(Q::Length)),
        table(E::Geometry, "FaceTab[0]", faceTab<0>, faceRows<0>, TableWalk::ByColumn, faceColumns()),
        table(E::Geometry, "FaceTab[1]", faceTab<1>, faceRows<1>, TableWalk::ByColumn, faceColumns()),
        table(E::Geometry, "FaceTab[2]", faceTab<2>, faceRows<2>, TableWalk::ByColumn, faceColumns()),
        table(E::Geometry, "FaceTab[3]", faceTab<3>, faceRows<3>, TableWalk::ByColumn, faceColumns()),
        table(E::Geometry, "FaceTab[4]", faceTab<4>, faceRows<4>, TableWalk::ByColumn, faceColumns()),
        table(E::Geometry, "FaceTab[5]", faceTab<5>, faceRows<5>, TableWalk::ByColumn, faceColumns()),
        table(E::Geometry, "ArcTab", arcTab, archRows, TableWalk::ByRow,
              {{kArcCode, kTabColumns - 1, kCopied}, {kArcElevation, kArcElevation, converted(Q::Length, 2)}}),

        // Materials: the concrete, the rock, then the moduli by arch.
        scalar(E::Materials, "Ec", &M::Ec, converted(Q::Modulus)),
        scalar(E::Materials, "Nuc", &M::Nuc, kCopied),
        scalar(E::Materials, "Wc", &M::Wc, converted(Q::UnitWeight)),
        scalar(E::Materials, "Thec", &M::Thec, converted(Q::ThermalCoeff)),
        scalar(E::Materials, "Nur", &M::Nur, kCopied),
        scalar(E::Materials, "Er", &M::Er, converted(Q::Modulus), RefreshWhen::UniformModulusTyped),
        table(E::Materials, "DefTab", defTab, archRows, TableWalk::ByRow,
              {{0, 0, converted(Q::Length, 3)}, {1, 2, converted(Q::Modulus, 2)}}),

        // Loads: the water levels, then the temperature changes by arch.
        scalar(E::Loads, "Rwe", &M::Rwe, converted(Q::Length)),
        scalar(E::Loads, "Twe", &M::Twe, converted(Q::Length)),
        table(E::Loads, "TempTab", tempTab, archRows, TableWalk::ByRow,
              {{0, 0, converted(Q::Length, 3)}, {1, 2, converted(Q::TempChange, 2)}}),
    };
    return items;
}

void refreshTableCopy(Tab3dim& tab, int rows, TableWalk walk, const std::vector<ColumnRange>& columns, int from)
{
    rows = std::clamp(rows, 0, kTabRows);
    if (walk == TableWalk::ByColumn) {
        for (const ColumnRange& range : columns)
            for (int c = range.first; c <= range.last; ++c)
                for (int r = 0; r < rows; ++r) refreshCell(tab, c, r, range.how, from);
    } else {
        for (int r = 0; r < rows; ++r)
            for (const ColumnRange& range : columns)
                for (int c = range.first; c <= range.last; ++c) refreshCell(tab, c, r, range.how, from);
    }
}

void refreshOtherUnitCopy(CaseModel& m, UnitEditor editor, int from, const RefreshConditions& when)
{
    const int to = 1 - from;
    for (const ConvertedItem& item : convertedItems()) {
        if (item.editor != editor || !holds(item.when, when)) continue;
        if (item.scalar) {
            UnitPair& p = m.*item.scalar;
            p[to] = item.how.copied ? p[from] : convertValue(item.how.quantity, p[from], from);
        } else {
            refreshTableCopy(item.table(m), item.rows(m), item.walk, item.columns, from);
        }
    }
}

void Converttabface(Tab3dim& tabface, int nbel, int from)
{
    refreshTableCopy(tabface, nbel + 1, TableWalk::ByColumn, faceColumns(), from);
}

}  // namespace velta
