#pragma once
// Puts the export filters in the registry the preview's save dialog reads:
// PDF document, comma-separated values, plain text, in that order. Called
// once by every program that offers exports; later calls do nothing.

namespace brp {

void RegisterExportFilters();

} // namespace brp
