// The one executable of every role. For now it only starts and ends cleanly;
// the roles come with the resident application.
int main() { return 0; }
