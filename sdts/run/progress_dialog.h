// The converter's progress window: the transfer's identification, the current step and
// a bar. Its contents go to whichever progress presenter the host installed.
#pragma once

#include <climits>
#include <string>

namespace corvane::sdts {

class ProgressDialog {
 public:
  enum Field {
    kTitle = 3011,
    kInputCatalog = 3012,
    kOutputDirectory = 3013,
    kReferenceSystem = 3014,
    kZone = 3015,
    kHorizontalDatum = 3016,
    kScale = 3017,
    kStatus = 3003,
  };

  ProgressDialog() = default;
  ~ProgressDialog();
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  // Shows the window with the fields set so far, and paints it.
  void create();
  // Closes the window; its field texts stay readable.
  void destroy();

  void set_title(const std::string& text);
  void set_input_catalog(const std::string& text);
  void set_output_directory(const std::string& text);
  void set_reference_system(const std::string& text);
  void set_zone(const std::string& text);
  void set_horizontal_datum(const std::string& text);
  void set_scale(const std::string& text);
  void set_status(const std::string& text);

  void hide_bar();
  void set_range(int low, int high);
  // Writers set the position at every subfield, hundreds of thousands of times a module;
  // only positions that move the bar by a thousandth of its range (or reach either end)
  // go on to the presenter.
  void set_position(int position) {
    if (m_open && (position >= m_next_up || position <= m_next_down)) show_position(position);
  }
  void repaint();

  const std::string& title() const { return m_title; }
  const std::string& horizontal_datum() const { return m_datum; }
  const std::string& scale() const { return m_scale; }
  const std::string& status() const { return m_status; }
  bool is_open() const { return m_open; }

 private:
  void set_field(std::string& member, Field field, const std::string& text);
  void show_position(int position);

  std::string m_title, m_input, m_output, m_reference_system, m_zone, m_datum, m_scale, m_status;
  bool m_open = false;
  int m_low = 0, m_high = 0, m_step = 1;
  // The nearest positions that move the bar from where it was last shown.
  int m_next_up = INT_MIN, m_next_down = INT_MAX;
};

}  // namespace corvane::sdts
