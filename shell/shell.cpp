// The shell library's anchor: keeps the target non-empty while it grows.
namespace glimt { int ShellLibraryAnchor = 0; }
