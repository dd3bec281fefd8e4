// The settings editor's entry point: a Windows program without a console
// that ends at once.
int main() { return 0; }
