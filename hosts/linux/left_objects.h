#pragma once
// After WM_DESTROY the saver should hold nothing: a pen, bitmap or device context still
// alive means a message went missing or the saver leaks. Said on stderr, where the tests
// look for silence after a clean end.
namespace linux_host {

// Prints one line naming what is left, if anything; true when nothing is.
bool ReportLeftObjects();

}  // namespace linux_host
