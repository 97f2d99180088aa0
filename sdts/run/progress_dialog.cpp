#include "sdts/run/progress_dialog.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/progress_presenter.h"

namespace corvane::sdts {

namespace {

// A bar shows a thousand steps at most, more than any window or terminal can draw.
constexpr std::int64_t kShownSteps = 1000;

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
  m_next_up = INT_MIN;
  m_next_down = INT_MAX;
  const std::pair<Field, const std::string*> fields[] = {{kTitle, &m_title},
                                                         {kInputCatalog, &m_input},
                                                         {kOutputDirectory, &m_output},
                                                         {kReferenceSystem, &m_reference_system},
                                                         {kZone, &m_zone},
                                                         {kHorizontalDatum, &m_datum},
                                                         {kScale, &m_scale},
                                                         {kStatus, &m_status}};
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
  m_low = low;
  m_high = std::max(low, high);
  m_step =
      static_cast<int>(std::max<std::int64_t>(1, (std::int64_t{m_high} - m_low) / kShownSteps));
  m_next_up = INT_MIN;
  m_next_down = INT_MAX;
  if (m_open) corvane::progress_presenter().set_range(low, high);
}

void ProgressDialog::show_position(int position) {
  const int shown = std::clamp(position, m_low, m_high);
  m_next_up = shown >= m_high
                  ? INT_MAX
                  : static_cast<int>(std::min<std::int64_t>(std::int64_t{shown} + m_step, m_high));
  m_next_down = shown <= m_low
                    ? INT_MIN
                    : static_cast<int>(std::max<std::int64_t>(std::int64_t{shown} - m_step, m_low));
  corvane::progress_presenter().set_position(position);
}

void ProgressDialog::repaint() {
  if (m_open) corvane::progress_presenter().repaint();
}

}  // namespace corvane::sdts
