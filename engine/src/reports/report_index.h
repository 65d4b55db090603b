#pragma once
// The index pages: one header cell per reported volume (and the Registry
// cell), each opening its page in the report set's frame "mainFrame".

#include <atomic>
#include <cstdint>
#include <string>

#include "reports/report_strings.h"

namespace dravik {

enum class report_kind { analysis, defrag };

// The cell that opens "registryreport.html".
std::string registry_index_cell();

// The header cell of volume page n ("analysisreport<n>.html" or
// "defragreport<n>.html") showing letter followed by ":\".
std::string volume_index_cell(report_kind kind, int page_number, char letter);

// At a worker's start: partition_list := the Registry cell when a registry
// report was written since the last report set was shown, else empty.
void begin_report_set(report_strings& strings,
                      const std::atomic<std::int32_t>& registry_report_present);

// Appends the header cell of volume page n to partition_list.
void add_volume_index_cell(report_strings& strings, report_kind kind, int page_number, char letter);

// Reads "analysisreporttopmodel.html" (or "defragreporttopmodel.html") from the
// application folder, puts cells at its "<!--partitionlist-->" and writes
// "analysisreporttop.html" (or "defragreporttop.html"). A missing template or
// an unwritable page skips the page.
void write_index_page(report_kind kind, const std::string& application_folder,
                      const std::string& cells);

// write_index_page with the worker's partition_list.
void write_analysis_index(const report_strings& strings, const std::string& application_folder);
void write_defrag_index(const report_strings& strings, const std::string& application_folder);

}  // namespace dravik
