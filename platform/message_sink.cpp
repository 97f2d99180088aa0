#include "platform/message_sink.h"

#include <cstdio>

namespace corvane {

namespace {
TerminalMessageSink g_terminal_sink;
MessageSink* g_installed_sink = nullptr;
}  // namespace

void TerminalMessageSink::show(const std::string& text) {
  std::string line = text;
  while (!line.empty() && line.back() == '\n') line.pop_back();
  std::fprintf(stderr, "%s\n", line.c_str());
}

MessageSink& message_sink() { return g_installed_sink ? *g_installed_sink : g_terminal_sink; }

void install_message_sink(MessageSink* sink) { g_installed_sink = sink; }

void show_message(const std::string& text) { message_sink().show(text); }

}  // namespace corvane
