#include "vemo/list_f.h"

namespace vemo {

list_f::list_f()
    : frame(L"list_f_class_name", CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr, nullptr) {}

list_f::~list_f() = default;

void list_f::clear() { rows_.clear(); }

int list_f::current_row() const { return current_row_; }

void list_f::add_image_row(const std::vector<std::wstring>& texts,
                           const std::vector<std::wstring>& image_files) {
  list_row row;
  row.texts = texts;
  for (const std::wstring& file : image_files) {
    auto image = std::make_unique<mem_bitmap>();
    image->load(file);
    row.images.push_back(std::move(image));
  }
  rows_.push_back(std::move(row));
}

void list_f::add_row(const std::vector<std::wstring>& texts) {
  list_row row;
  row.texts = texts;
  rows_.push_back(std::move(row));
}

}  // namespace vemo
