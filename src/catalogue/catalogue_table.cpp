#include "catalogue.h"

namespace quvex::catalogue {

namespace {

struct Row
{
    const char16_t *name;
    const char16_t *models;
    const char16_t *format;
};

// List order matters: it is the order of the adjustment list, of reading and writing a whole
// unit and of the settings file, and it decides which of two equal names a lookup finds.
constexpr Row kRows[] = {
    {u"Overscan", u"", u"Off,On"},
    {u"Image Freeze", u"", u"Off,On"},
    {u"Flicker Red.", u"", u"N2"},
    {u">Studio Gen", u"QVMK", u""},
    {u"Genlock", u"QVMK", u"Off,On"},
    {u"SC Ph. Shift", u"QVMK", u"0,180"},
    {u"SC Phase", u"QVMK", u"N"},
    {u"H Phase", u"QVMK", u"N"},
    {u">Overlay", u"QK1,QK2", u""},
    {u"Signal Type", u"QK1,QK2", u"CVid,SVid"},
    {u"Mode", u"QK1,QK2", u"PC Out,Genlock,Overlay,Mix"},
    {u"Keyer", u"QK1,QK2", u"V.Soft,Soft,Normal,Hard"},
    {u"Key Level", u"QK1,QK2", u"N"},
    {u"Fade Speed", u"QK1,QK2", u"N"},
    {u"Fade", u"QK1,QK2", u"Out,In"},
    {u"SC Phase", u"QK1,QK2", u"N"},
    {u">S/Size NTSC U/scan", u"", u""},
    {u"NU\\Out H-Centre:", u"", u"N"},
    {u"NU\\Out H-Width:", u"", u"N"},
    {u"NU\\Out V-Centre:", u"", u"N"},
    {u"NU\\Out V-Height:", u"", u"N"},
    {u">S/Size NTSC O/scan", u"", u""},
    {u"NO\\Out H-Centre:", u"", u"N"},
    {u"NO\\Out H-Width:", u"", u"N"},
    {u"NO\\Out V-Centre:", u"", u"N"},
    {u"NO\\Out V-Height:", u"", u"N"},
    {u">S/Size PAL U/scan", u"", u""},
    {u"PU\\Out H-Centre:", u"", u"N"},
    {u"PU\\Out H-Width:", u"", u"N"},
    {u"PU\\Out V-Centre:", u"", u"N"},
    {u"PU\\Out V-Height:", u"", u"N"},
    {u">S/Size PAL O/scan", u"", u""},
    {u"PO\\Out H-Centre:", u"", u"N"},
    {u"PO\\Out H-Width:", u"", u"N"},
    {u"PO\\Out V-Centre:", u"", u"N"},
    {u"PO\\Out V-Height:", u"", u"N"},
    {u">Zoom", u"", u""},
    {u"Zoom", u"", u"Off,On"},
    {u"Pan X Pos:", u"", u"N"},
    {u"Pan Y Pos:", u"", u"N"},
    {u">Manual Set", u"", u""},
    {u"VGA Left:", u"", u"N"},
    {u"VGA Width:", u"", u"N"},
    {u"VGA Top/4:", u"", u"N"},
    {u"VGA Bot/4:", u"", u"N"},
    {u">Advanced, Info & Eng.", u"", u""},
    {u"ADC Ref.", u"QVM,QVMX,QVMK", u"N"},
    {u"Adj. Osc.", u"QVMX,QVMK", u"N"},
    {u"Baud Rate", u"NONE", u"N"},
    {u"Brightness", u"QK1,QK2", u"N"},
    {u"Buttons", u"QVL,QVMX,QVMK,QK1", u"Off,On"},
    {u"Clock width:", u"QVL,QVM", u"N"},
    {u"Comp Sync In", u"QVM", u"Off,On"},
    {u"CSync In Frq", u"QVMX,QVMK", u"N"},
    {u"CV Filter", u"QVM,QVMX,QVMK", u"N"},
    {u"DAC Ref.", u"QVL,QVM,QVMX,QVMK", u"N"},
    {u"Disp Credits", u"QK2", u"Off,On"},
    {u"H. Soften", u"QVM,QVMX,QVMK", u"Off,On"},
    {u"ID Restrict", u"", u"N"},
    {u"Infra Red", u"", u"Off,On"},
    {u"LCD Contrast", u"QVM", u"N"},
    {u"Max Pix Freq", u"QVM", u"N"},
    {u"Neg Sync Out", u"QVM", u"Off,On"},
    {u"Output Sig", u"QVM,QVMX,QVMK", u"YUV,RGB"},
    {u"RS232", u"NONE", u"N"},
    {u"RS232 ID", u"NONE", u"N"},
    {u"RGB Term.", u"", u"Off,Auto"},
    {u"SC/H Phase", u"QVM,QVMX,QVMK", u"N"},
    {u"Sense", u"", u"N"},
    {u"Sep Sync Out", u"QVM", u"Off,On"},
    {u"Sound", u"QVL,QVM,QVMX,QVMK,QK1", u"Off,On"},
    {u"Sync In", u"QVMX,QVMK", u"VGA HV,Grn+Sy,Pin 13,Pin 15"},
    {u"Sync Out", u"QVMX,QVMK", u"-CS-CS,+CS+CS,-HS-VS,+HS+VS"},
    {u"Sync Out", u"QK1,QK2", u"-CS,+CS"},
    {u"Sync/Grn In", u"QVM", u"Off,On"},
    {u"Total Lines", u"", u""},
    {u"Vert. Freq", u"", u""},
    {u"Y/C Delay:", u"QVM,QVMX,QVMK", u"N"},
    {u"Video Std", u"", u"NTSC,PAL"},
};

} // namespace

void build_catalogue(Catalogue &catalogue)
{
    for (const Row &row : kRows)
        catalogue.add_item(QString::fromUtf16(row.name), QString::fromUtf16(row.models),
                           QString::fromUtf16(row.format));
}

} // namespace quvex::catalogue
