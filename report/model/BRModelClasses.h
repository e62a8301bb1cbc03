#pragma once
// Puts the report, band, controller and printable classes in the class
// registry, so that definitions can name them. Done once.

void RegisterReportModelClasses();
