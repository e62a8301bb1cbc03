#pragma once
// Puts the printable controls (and the report model's classes) in the class
// registry, so that report definitions can name them. Done once.

namespace brp {

void RegisterReportControlClasses();

} // namespace brp
