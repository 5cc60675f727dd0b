// A shared object for the embedded module tests to load from its bytes, built twice with
// different answers.
extern "C" int quorlane_sample_answer() { return QUORLANE_SAMPLE_ANSWER; }
