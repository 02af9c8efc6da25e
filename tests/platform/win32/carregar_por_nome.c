/* carregar_por_nome <library>: loads a library by its bare name, with the system's default
 * search and nothing restricted, as a program that imports it would; exit code 0 when it loaded.
 * The planted-library case uses it to show that Wine loads a planted copy from the program's
 * folder at all, so that the programs' not loading it means something. */
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  return LoadLibraryW(argv[1]) ? 0 : 1;
}
