#include "forms/LoadsForm.h"

#include <algorithm>

#include "forms/CaseChecks.h"
#include "model/Numbers.h"
#include "model/UnitRefresh.h"
#include "model/Units.h"

namespace velta {

void LoadsFormActivate(const CaseModel& m, LoadsEditorState& f)
{
    const int u = m.UnitSystem;
    const bool si = u == kSI;
    const int n = m.archRows();

    // The grout list: arch elevations from the top arch down.
    f.GroutComboBox.clear();
    for (int r = n - 1; r >= 0; --r) f.GroutComboBox.push_back(m.ArcTab(u, kArcElevation, r));
    f.groutSelected = (m.GroutIndex >= 0 && m.GroutIndex < n) ? m.GroutIndex : -1;

    f.unitLabel = lengthUnit(u);
    f.RweEdit = formatGeneral(m.Rwe[u]);
    f.TweEdit = formatGeneral(m.Twe[u]);
    f.thUniCheckBox = m.ThUni;
    f.thlinCheckBox = m.ThLin;
    f.WeightDistributionCheckBox = m.WeightDistribution;

    const char* elevation = si ? "Elevation (m)" : "Elevation (ft)";
    f.ThuniStringGrid.cell(0, 0) = elevation;
    f.ThuniStringGrid.cell(1, 0) = si ? "Uni temp(°C)" : "Uni temp(°F)";
    f.ThlinStringGrid.cell(0, 0) = elevation;
    f.ThlinStringGrid.cell(1, 0) = si ? "Lin temp(°C)" : "Lin temp(°F)";

    f.ThuniStringGrid.setDataRows(n);
    f.ThlinStringGrid.setDataRows(n);
    for (int r = 1; r <= n; ++r) {
        const std::string& z = m.ArcTab(u, kArcElevation, n - r);
        f.ThuniStringGrid.cell(0, r) = z;
        f.ThuniStringGrid.cell(1, r) = m.TempTab(u, 1, n - r);
        f.ThlinStringGrid.cell(0, r) = z;
        f.ThlinStringGrid.cell(1, r) = m.TempTab(u, 2, n - r);
    }
}

bool LectureChargement(CaseEditors& s)
{
    CaseModel& m = s.model;
    const int u = m.UnitSystem;
    const auto& f = s.loads;
    bool ok = true;
    try {
        m.Rwe[u] = parseNumber(f.RweEdit);
        // A blank tailwater means the base of the dam.
        m.Twe[u] = trim(f.TweEdit).empty() ? m.BaseElev[u] : parseNumber(f.TweEdit);
    } catch (const ConversionError&) {
        ok = false;
        s.messages.error("Erreur d'entrée des chargements");
    }

    const int n = m.archRows();
    if (ok) {
        m.GroutIndex = f.groutSelected;
        m.ThUni = f.thUniCheckBox;
        m.ThLin = f.thlinCheckBox;
        m.WeightDistribution = f.WeightDistributionCheckBox;
        // Both tables are stored, ticked or not.
        for (int r = 1; r <= n; ++r) {
            m.TempTab(u, 0, n - r) = f.ThuniStringGrid.cellOrEmpty(0, r);
            m.TempTab(u, 1, n - r) = f.ThuniStringGrid.cellOrEmpty(1, r);
            m.TempTab(u, 2, n - r) = f.ThlinStringGrid.cellOrEmpty(1, r);
        }
        s.main.ChargementMenu = true;
    }

    // The other unit system's copy, from whatever the current copy now holds.
    refreshOtherUnitCopy(m, UnitEditor::Loads, u);
    return ok;
}

bool LoadsOKButtonClick(CaseEditors& s)
{
    const int items = static_cast<int>(s.loads.GroutComboBox.size());
    if (s.loads.groutSelected < 0 || s.loads.groutSelected >= items) {
        s.messages.error(noGroutArchText());
        return false;
    }
    if (!confirmUnusualValues(s.prompter, "Loads", unusualLoads(s.model, s.loads))) return false;
    return LectureChargement(s);
}

void LoadsAnnulerButtonClick(CaseEditors& s)
{
    s.main.ChargementMenu = false;
}

} // namespace velta
