#include <cstdio>

int main() {
  std::puts("corvane: the batch front end is not built yet");
  return 0;
}
