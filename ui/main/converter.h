// SPDX-License-Identifier: MIT
// The command-line converter: `struktogramme --export OUT IN`.
#pragma once

#include "render/display_options.h"

#include <string>

// Loads input as the load command does (or imports it as Pascal source when it ends in .pas) and
// writes output by its extension: .str, the source languages .pas, .py, .java, .c, and the
// pictures .png, .svg, .pdf. Returns the process exit status; failures and warnings go to stderr
// as one German line each, and a failure writes no output file.
// Pictures are drawn in the given notation.
int RunConverter(const std::string& output, const std::string& input,
                 TNotation notation = TNotation::Flow);
