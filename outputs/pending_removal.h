#pragma once
// Temporary files a run has not yet put in place, removed when the process
// ends without putting them there: on SIGTERM, SIGINT, SIGHUP or SIGPIPE (the
// signal then ends the process as it would have, so a shell sees 128 plus its
// number) and on exit(). A signal that already has a handler of its own, or
// is ignored, is left to it.
#include <signal.h>

#include <string>

namespace outputs {

// A slot to pass to forget_pending; -1 when every slot is taken (the file is
// then removed only by its owner).
int remember_pending(const std::string& path);
void forget_pending(int slot);

// Signals taking effect while the guard lives are held back until it ends,
// so that a group of renames happens whole.
class HoldSignals {
 public:
  HoldSignals();
  ~HoldSignals();
  HoldSignals(const HoldSignals&) = delete;
  HoldSignals& operator=(const HoldSignals&) = delete;

 private:
  sigset_t saved_;
};

}  // namespace outputs
