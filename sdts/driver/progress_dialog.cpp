#include "sdts/driver/progress_dialog.h"

#include "platform/progress_presenter.h"

namespace {

corvane::ProgressLayout window_layout() {
  corvane::ProgressLayout layout;
  layout.title = "DLG-SDTS to Shape by Wendmark";
  layout.fields = {{ProgressDialog::kTitle, "Title:"},
                   {ProgressDialog::kInputCatalog, "Input Catalog:"},
                   {ProgressDialog::kOutputDirectory, "Output Directory:"},
                   {ProgressDialog::kReferenceSystem, "Reference System:"},
                   {ProgressDialog::kZone, "Zone:"},
                   {ProgressDialog::kHorizontalDatum, "Horizontal Datum:"},
                   {ProgressDialog::kScale, "Scale: 1 to "},
                   {ProgressDialog::kStatus, "Current Process:"}};
  layout.status_field = ProgressDialog::kStatus;
  layout.has_bar = true;
  return layout;
}

}  // namespace

ProgressDialog::~ProgressDialog() { destroy(); }

void ProgressDialog::create() {
  auto& presenter = corvane::progress_presenter();
  presenter.open(window_layout());
  m_open = true;
  const std::pair<Field, const std::string*> fields[] = {
      {kTitle, &m_title},           {kInputCatalog, &m_input},
      {kOutputDirectory, &m_output}, {kReferenceSystem, &m_reference_system},
      {kZone, &m_zone},             {kHorizontalDatum, &m_datum},
      {kScale, &m_scale},           {kStatus, &m_status}};
  for (const auto& [field, text] : fields)
    if (!text->empty()) presenter.set_text(field, *text);
  presenter.repaint();
}

void ProgressDialog::destroy() {
  if (!m_open) return;
  m_open = false;
  corvane::progress_presenter().close();
}

void ProgressDialog::set_field(std::string& member, Field field, const std::string& text) {
  member = text;
  if (m_open) corvane::progress_presenter().set_text(field, text);
}

void ProgressDialog::set_title(const std::string& text) { set_field(m_title, kTitle, text); }
void ProgressDialog::set_input_catalog(const std::string& text) {
  set_field(m_input, kInputCatalog, text);
}
void ProgressDialog::set_output_directory(const std::string& text) {
  set_field(m_output, kOutputDirectory, text);
}
void ProgressDialog::set_reference_system(const std::string& text) {
  set_field(m_reference_system, kReferenceSystem, text);
}
void ProgressDialog::set_zone(const std::string& text) { set_field(m_zone, kZone, text); }
void ProgressDialog::set_horizontal_datum(const std::string& text) {
  set_field(m_datum, kHorizontalDatum, text);
}
void ProgressDialog::set_scale(const std::string& text) { set_field(m_scale, kScale, text); }
void ProgressDialog::set_status(const std::string& text) { set_field(m_status, kStatus, text); }

// The bar has no visibility of its own in the presenter: a hidden bar is an empty range.
void ProgressDialog::hide_bar() {
  if (m_open) corvane::progress_presenter().set_range(0, 0);
}

void ProgressDialog::set_range(int low, int high) {
  if (m_open) corvane::progress_presenter().set_range(low, high);
}

void ProgressDialog::set_position(int position) {
  if (m_open) corvane::progress_presenter().set_position(position);
}

void ProgressDialog::repaint() {
  if (m_open) corvane::progress_presenter().repaint();
}
