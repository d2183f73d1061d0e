#pragma once

namespace mavu::shell {

class TDDSD7;

// Where the mix goes: a sound card through SDL, or nowhere on a headless
// run's simulated clock. Either pulls frames from the device.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  // Starts pulling the device's mix. False when there is no output to open:
  // the game then runs silent.
  virtual bool Start(TDDSD7& device) = 0;
  // Stops pulling; once it returns the device is no longer touched.
  virtual void Stop() = 0;
};

}  // namespace mavu::shell
