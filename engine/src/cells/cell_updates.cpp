#include "cells/cell_updates.h"

#include "cells/cell_geometry.h"

namespace dravik {

namespace {

cluster_cell* current_cell(cell_cursor& cursor) noexcept {
  if (cursor.cells == nullptr) return nullptr;
  cursor.cell_index = cell_within_map(cursor.cell_index);
  return &(*cursor.cells)[static_cast<size_t>(cursor.cell_index)];
}

void decrement_to_zero(shared_value<int32_t>& counter) noexcept {
  if (counter.get() > 0) counter.add(-1);
}

void remove_from_cell(cell_cursor& cursor, shared_value<int32_t> cluster_cell::*counter) noexcept {
  cluster_cell* cell = current_cell(cursor);
  if (cell == nullptr) return;
  if (cursor.in_system_folder != 0) decrement_to_zero(cell->system_count);
  decrement_to_zero(cell->*counter);
  // The reserved counter keeps a cell in use too: whatever "diskdata" held
  // there is still shown.
  const bool any = cell->system_count != 0 || cell->reserved != 0 ||
                   cell->fragmented_count != 0 || cell->contiguous_count != 0 ||
                   cell->settled_count != 0;
  cell->in_use = any ? 1 : 0;
}

}  // namespace

void add_to_cell(cell_cursor& cursor, int kind) noexcept {
  cluster_cell* cell = current_cell(cursor);
  if (cell == nullptr) return;
  cell->in_use = 1;
  if (cursor.in_system_folder != 0) cell->system_count.add(1);
  switch (kind) {
    case contribution_fragmented: cell->fragmented_count.add(1); break;
    case contribution_contiguous: cell->contiguous_count.add(1); break;
    case contribution_settled: cell->settled_count.add(1); break;
    default: break;
  }
}

void remove_fragmented_from_cell(cell_cursor& cursor) noexcept {
  remove_from_cell(cursor, &cluster_cell::fragmented_count);
}

void remove_contiguous_from_cell(cell_cursor& cursor) noexcept {
  remove_from_cell(cursor, &cluster_cell::contiguous_count);
}

}  // namespace dravik
