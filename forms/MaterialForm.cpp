#include "forms/MaterialForm.h"

#include <algorithm>

#include "forms/CaseChecks.h"
#include "model/Numbers.h"
#include "model/UnitRefresh.h"
#include "model/Units.h"

namespace velta {

void DefRadioGroupClick(MaterialEditorState& f, int kind)
{
    f.DefRadioGroup = kind == 1 ? 1 : 0;
    // Variable moduli: the uniform field is disabled and the table enabled.
    f.erEnabled = f.DefRadioGroup == 0;
}

void MaterialFormActivate(const CaseModel& m, MaterialEditorState& f)
{
    const int u = m.UnitSystem;
    const bool si = u == kSI;
    f.modulusUnit = si ? "GPa" : "E6 psi";
    f.weightUnit = si ? "kg/m3" : "pounds per cubit foot";
    f.thermalUnit = si ? "E-06 /°C" : "E-06 /°F";

    f.EcEdit = formatGeneral(m.Ec[u]);
    f.NucEdit = formatGeneral(m.Nuc[u]);
    f.WcEdit = formatGeneral(m.Wc[u]);
    f.ThecEdit = formatGeneral(m.Thec[u]);
    f.EREdit = formatGeneral(m.Er[u]);
    f.NurEdit = formatGeneral(m.Nur[u]);

    GridState& g = f.DefStringGrid;
    g.cell(0, 0) = si ? "Elevation (m)" : "Elevation (ft)";
    g.cell(1, 0) = si ? "Left modulus(GPa)" : "Left modulus(E6 psi)";
    g.cell(2, 0) = si ? "Right modulus(GPa)" : "Right modulus(E6 psi)";

    DefRadioGroupClick(f, m.VariableModuli ? 1 : 0);

    const int n = m.archRows();
    g.setDataRows(n);
    for (int r = 1; r <= n; ++r) {
        g.cell(0, r) = m.ArcTab(u, kArcElevation, n - r);
        g.cell(1, r) = m.DefTab(u, 1, n - r);
        g.cell(2, r) = m.DefTab(u, 2, n - r);
    }
}

bool LectureMateriau(CaseEditors& s)
{
    CaseModel& m = s.model;
    const int u = m.UnitSystem;
    const auto& f = s.mat;
    bool ok = true;
    try {
        m.Ec[u] = parseNumber(f.EcEdit);
        m.Nuc[u] = parseNumber(f.NucEdit);
        m.Wc[u] = parseNumber(f.WcEdit);
        m.Thec[u] = parseNumber(f.ThecEdit);
        m.Nur[u] = parseNumber(f.NurEdit);
        if (f.DefRadioGroup == 0) {
            m.Er[u] = parseNumber(f.EREdit);
            m.VariableModuli = false;
        } else {
            m.VariableModuli = true;
            // The disabled uniform field still holds the deck's or the model's
            // modulus; keeping it lets a deck's uniform value survive a save.
            if (auto er = tryParseNumber(f.EREdit)) m.Er[u] = *er;
        }
    } catch (const ConversionError&) {
        ok = false;
        s.messages.error("Erreur d'entrée des materiaux");
    }

    const int n = m.archRows();
    if (ok) {
        for (int r = 1; r <= n; ++r)
            for (int c = 0; c <= 2; ++c) m.DefTab(u, c, n - r) = f.DefStringGrid.cellOrEmpty(c, r);
        s.main.MateriauxMenu = true;
    }

    // The other unit system's copy, from whatever the current copy now holds.
    RefreshConditions when;
    when.uniformModulusTyped = !trim(f.EREdit).empty();
    refreshOtherUnitCopy(m, UnitEditor::Materials, u, when);
    return ok;
}

bool MaterialOKButtonClick(CaseEditors& s)
{
    if (s.mat.DefRadioGroup == 1) {
        if (auto missing = missingRockModulus(s.mat.DefStringGrid, lengthUnit(s.model.UnitSystem))) {
            s.messages.error(*missing);
            return false;
        }
    }
    if (!confirmUnusualValues(s.prompter, "Material properties", unusualMaterials(s.model, s.mat))) return false;
    return LectureMateriau(s);
}

void MaterialAnnulerButtonClick(CaseEditors& s)
{
    s.main.MateriauxMenu = false;
}

} // namespace velta
