// The installer's process entry. The application object takes over here once
// the framework exists; until then the program does nothing and ends with 0,
// as every run of the installer does.
int main() { return 0; }
