// A shared object for the loadable part tests to load by path, built twice with different
// answers.
extern "C" int quorlane_sample_answer() { return QUORLANE_SAMPLE_ANSWER; }
