#include "shell/app/quit_signals.h"

#include <csignal>
#include <initializer_list>

namespace mavu::shell {

namespace {

volatile std::sig_atomic_t signalled = 0;

extern "C" void RaiseQuitFlag(int) {
  signalled = 1;
}

}  // namespace

void InstallQuitSignals() {
  struct sigaction action {};
  action.sa_handler = RaiseQuitFlag;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool QuitSignalled() {
  return signalled != 0;
}

}  // namespace mavu::shell
