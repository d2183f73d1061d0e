// A library that is not a replacer: it lacks the entry point.
extern "C" void SomethingElse(char* buffer) {
  buffer[0] = 0;
}
