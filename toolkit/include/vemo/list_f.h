#pragma once

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "vemo/frame.h"
#include "vemo/mem_bitmap.h"

namespace vemo {

// One row of a list: texts in display order, and image i shown in front of
// text i. An image file that did not load keeps its place as an empty
// mem_bitmap, which draws nothing and takes no room. The row owns its
// images.
struct list_row {
  // A truth value; 0 for a new row.
  int checked = 0;
  std::vector<std::wstring> texts;
  std::vector<std::unique_ptr<mem_bitmap>> images;
};

// The rows of an owner-drawn list window, in the order added. It paints
// nothing itself: derived lists draw the rows. The owner creates the window
// (a child of its choice) and sizes it; rows may be added before the window
// exists. User interface thread only.
class list_f : public frame {
 public:
  list_f();
  ~list_f() override;

  // Destroys every row and its images. The current row stays as it was.
  virtual void clear();
  // The index of the row a click last toggled; -1 before any.
  virtual int current_row() const;
  // Appends a row with the texts and, for every file in order, an image
  // loaded from it (empty when the file does not load).
  virtual void add_image_row(const std::vector<std::wstring>& texts,
                             const std::vector<std::wstring>& image_files);
  // Appends a row with the texts and no images.
  virtual void add_row(const std::vector<std::wstring>& texts);

  const std::list<list_row>& rows() const { return rows_; }

 protected:
  std::list<list_row>& mutable_rows() { return rows_; }
  void set_current_row(int index) { current_row_ = index; }

 private:
  std::list<list_row> rows_;
  int current_row_ = -1;
};

}  // namespace vemo
