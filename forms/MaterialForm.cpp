#include "forms/MaterialForm.h"

#include <algorithm>

#include "forms/CaseChecks.h"
#include "model/Numbers.h"
#include "model/Units.h"

namespace velta {

void DefRadioGroupClick(CaseEditors& s, int kind)
{
    s.mat.DefRadioGroup = kind == 1 ? 1 : 0;
    // Variable moduli: the uniform field is disabled and the table enabled.
    s.mat.erEnabled = s.mat.DefRadioGroup == 0;
}

void MaterialFormActivate(CaseEditors& s)
{
    const CaseModel& m = s.model;
    const int u = m.UnitSystem;
    auto& f = s.mat;
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

    DefRadioGroupClick(s, m.VariableModuli ? 1 : 0);

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
    const int other = 1 - u;
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
    m.Ec[other] = convertValue(Quantity::Modulus, m.Ec[u], u);
    m.Nuc[other] = m.Nuc[u];
    m.Wc[other] = convertValue(Quantity::UnitWeight, m.Wc[u], u);
    m.Thec[other] = convertValue(Quantity::ThermalCoeff, m.Thec[u], u);
    m.Nur[other] = m.Nur[u];
    if (!trim(f.EREdit).empty()) m.Er[other] = convertValue(Quantity::Modulus, m.Er[u], u);
    for (int r = 0; r < n; ++r) {
        m.DefTab(other, 0, r) = convertCell(Quantity::Length, m.DefTab(u, 0, r), u, 3);
        m.DefTab(other, 1, r) = convertCell(Quantity::Modulus, m.DefTab(u, 1, r), u, 2);
        m.DefTab(other, 2, r) = convertCell(Quantity::Modulus, m.DefTab(u, 2, r), u, 2);
    }
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
    if (!confirmUnusualValues(s, "Material properties", unusualMaterials(s))) return false;
    return LectureMateriau(s);
}

void MaterialAnnulerButtonClick(CaseEditors& s)
{
    s.main.MateriauxMenu = false;
}

} // namespace velta
