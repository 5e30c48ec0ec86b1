// SPDX-License-Identifier: MIT
#include "ui/main/windowing_services.h"

#include "ui/main/text_codec.h"

void TWindowingServices::ReportFailure(const std::exception& failure) {
  ReportFailure(FailureText(failure.what()));
}
