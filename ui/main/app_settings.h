// SPDX-License-Identifier: MIT
// Where the editor keeps what it remembers between runs: recent files, the language, the checks.
#pragma once

// QSettings' organisation and application name alike.
inline constexpr char kSettingsName[] = "Struktogramme";
