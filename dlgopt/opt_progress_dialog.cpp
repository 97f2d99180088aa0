#include "dlgopt/opt_progress_dialog.h"

#include "platform/progress_presenter.h"

namespace corvane::dlgopt {

namespace {
ProgressLayout opt_layout() {
  ProgressLayout layout;
  layout.title = "CORVANE for Optional Format by Wendmark";
  layout.fields = {
      {OptProgressDialog::kInputFile, "Input File:"},
      {OptProgressDialog::kPlace, "Place:"},
      {OptProgressDialog::kDates, "Dates:"},
      {OptProgressDialog::kScale, "Scale:"},
      {OptProgressDialog::kCategory, "Category"},
      {OptProgressDialog::kProjection, "Map Projection"},
      {OptProgressDialog::kUnits, "Units"},
      {OptProgressDialog::kNodes, "Points"},
      {OptProgressDialog::kLines, "Lines"},
      {OptProgressDialog::kAreas, "Areas"},
      {OptProgressDialog::kNodesProcessed, "Processed"},
      {OptProgressDialog::kLinesProcessed, "Processed"},
      {OptProgressDialog::kAreasProcessed, "Processed"},
  };
  return layout;
}
}  // namespace

OptProgressDialog::~OptProgressDialog() {
  if (created_) progress_presenter().close();
}

void OptProgressDialog::create() {
  progress_presenter().open(opt_layout());
  created_ = true;
  update();
}

void OptProgressDialog::update() {
  if (!created_) return;
  ProgressPresenter& window = progress_presenter();
  window.set_text(kInputFile, input_file);
  window.set_text(kPlace, place);
  window.set_text(kDates, dates);
  window.set_text(kScale, scale);
  window.set_text(kCategory, category);
  window.set_text(kProjection, projection);
  window.set_text(kUnits, units);
  window.set_text(kNodes, std::to_string(nodes));
  window.set_text(kLines, std::to_string(lines));
  window.set_text(kAreas, std::to_string(areas));
  window.set_text(kNodesProcessed, std::to_string(nodes_processed));
  window.set_text(kLinesProcessed, std::to_string(lines_processed));
  window.set_text(kAreasProcessed, std::to_string(areas_processed));
  window.repaint();
}

void OptProgressDialog::set_nodes_processed(int n) {
  show_counter(kNodesProcessed, nodes_processed = n);
}
void OptProgressDialog::set_lines_processed(int n) {
  show_counter(kLinesProcessed, lines_processed = n);
}
void OptProgressDialog::set_areas_processed(int n) {
  show_counter(kAreasProcessed, areas_processed = n);
}

void OptProgressDialog::show_counter(int field, int value) {
  if (!created_) return;
  progress_presenter().set_text(field, std::to_string(value));
  progress_presenter().repaint();
}

}  // namespace corvane::dlgopt
