// Tool-page fields from the configuration; see toolfields.h.
#include "toolfields.h"

namespace vornelle {

ToolFields toolFieldsFrom(const configmachine& c) {
    ToolFields f;
    f.Text6 = c.pasmmX;
    f.Text3 = c.pasmmY;
    f.Text5 = c.pasmmZ;
    f.Text2 = c.coefvitesse;
    f.Text10 = c.vitdecoupe;
    f.Text11 = c.vithorsmatiere;
    f.Text12 = c.descenteZ;
    f.Text8 = c.degagement;
    f.weights = {c.poidsdirX, c.poidsclkX, c.poidsdirY, c.poidsclkY,
                 c.poidsdirZ, c.poidsclkZ, c.poidsnc1,  c.poidsnc2};
    f.inversions = {std::to_string(c.invX), std::to_string(c.invY), std::to_string(c.invZ)};
    f.port = portAddress(c.numport);
    f.invZ = c.invZ == 1;
    return f;
}

GenerationInput generationInput(const ToolFields& f, const std::string& text1, const std::string& Text9,
                                const std::string& Text7) {
    GenerationInput in;
    in.text1 = text1;
    in.Text9 = Text9;
    in.Text7 = Text7;
    in.Text4 = f.Text4;
    in.Text12 = f.Text12;
    in.Text6 = f.Text6;
    in.Text3 = f.Text3;
    in.Text5 = f.Text5;
    in.weights = f.weights;
    in.inversions = f.inversions;
    in.Text10 = f.Text10;
    in.Text11 = f.Text11;
    return in;
}

}  // namespace vornelle
