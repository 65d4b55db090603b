#pragma once
// The templates the report tests use: short, so a page can be compared whole.

#include "scratch_folder/scratch_folder.h"

namespace dravik::testing {

inline void write_test_templates(const tessarel::testing::scratch_folder& folder) {
  folder.write("analysisreportmodel.html", "<html>\r\n<!--table-->\r\n</html>");
  folder.write("defragreportmodel.html", "<html>defrag<!--table--></html>");
  folder.write("registryreportmodel.html", "<p><!--errors--></p><!--table-->");
  folder.write("analysisreporttopmodel.html", "<tr><!--partitionlist--></tr>");
  folder.write("defragreporttopmodel.html", "<tr class=d><!--partitionlist--></tr>");
}

}  // namespace dravik::testing
