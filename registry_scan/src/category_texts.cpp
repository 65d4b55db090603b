#include "regscan/category_texts.h"

namespace regscan {

const category_texts* texts_of_category(std::uint32_t number) {
  for (const category_texts& texts : category_list) {
    if (texts.number == number) return &texts;
  }
  return nullptr;
}

}  // namespace regscan
