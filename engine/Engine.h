#pragma once
// The trial-load analysis engine behind VELTA_DOS.exe.
