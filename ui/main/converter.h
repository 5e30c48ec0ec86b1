// SPDX-License-Identifier: MIT
// The command-line converter: `struktogramme --export OUT IN.str`.
#pragma once

#include <string>

// Loads input as the load command does and writes output by its extension (.str, .pas, and the
// pictures .png, .svg, .pdf). Returns the process exit status; failures and warnings go to
// stderr as one German line each.
int RunConverter(const std::string& output, const std::string& input);
