// Each bank layout byte for byte, once: a .fit bank with a plain texture
// record and a palette record, and a layout bank with a several-CLUT record
// in the separate CLUT rows. Every other test reads banks back through the
// inspector's reader.

#include "BankFixture.h"

using BankFile = ScriptRun;

TEST_F(BankFile, EachLayoutByteForByte)
{
    texture("a", 4, 1, 2); // 4-bit: texels 0 1 0 1 in one word, 0x1010
    // clang-format off
    const struct { const char* script; const char* text; const char* bytes; } cases[] = {
        // The CLUT moves up from line 255 to just below the image, so the
        // group is two lines high; the PAL record shares the CLUT.
        {"plain.fit", "ALPHA: a\nPAL: a\nFIT: bank\n",
         "00000002 00000000 "                              // textures, separate rows
         "00000001 00000002 00000002 "                     // group: page columns, lines, records
         "00000042 00000000 00000010 00008018 "            // size, Id, TIM id, 4-bit with a CLUT, ALPHA
         "0000002C 0000 0001 0010 0001 8421 8422 0000*14 " // CLUT block
         "0000000E 0000 0000 0004 0001 1010 "              // pixel block
         "80000028 00000001 0000 0001 0010 0001 8421 8422 0000*14"},
        // Two copies of the CLUT side by side at the top of the separate
        // area; a layout bank counts its separate rows one past those used.
        {"layout.lay", "SEPERATE: ON\nDUPLICATE: 2\na A 0 0 4 1\nFIT: bank\n",
         "00000001 00000002 00000001 00000002 00000001 00000062 00000000 00000010 00000008 0000004C 0000 "
         "0000 0020 0001 8421 8422 0000*14 8421 8422 0000*14 0000000E 0000 0000 0004 0001 1010"},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.script);
        run(c.script, c.text);
        EXPECT_EQ(folder.read("BANK.TBK"), fields(c.bytes));
    }
}
