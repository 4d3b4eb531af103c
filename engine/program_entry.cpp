// The program's entry. The wizard is not built yet: for now the program only
// derives its record key, as every start will, and ends.
#include <windows.h>

#include "store/key_block.h"
#include "store/key_block_data.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    KeyBlock keyBlock;
    return keyBlock.Load(keyBlockData, int(keyBlockDataLength)) ? 0 : 1;
}
