// The 192 texture files the game loads.
#include "textures.h"

namespace ag {

const std::vector<const char*>& AllTextureNames() {
    static const std::vector<const char*> names = {
        // title
        "intro.bmp", "intro2.bmp", "intro3.bmp", "intro3b.bmp", "copy.bmp", "intro3c.bmp", "intro3d.bmp",
        "intro3e.bmp", "intro3f.bmp", "intro3g.bmp",
        // resident
        "one.bmp", "two.bmp", "three.bmp", "four.bmp", "five.bmp", "six.bmp", "seven.bmp", "eight.bmp", "nine.bmp",
        "mode.bmp", "wood.bmp", "woodb.bmp", "wood2.bmp", "wood3.bmp", "wood4.bmp", "metal.bmp", "gravel.bmp",
        "lillys.bmp", "lillys2.bmp", "lillys3.bmp", "grass1.bmp", "grass2.bmp", "grass3.bmp", "grass4.bmp",
        "grass5.bmp", "grass6.bmp", "stones1.bmp", "stones2.bmp", "stones3.bmp", "stones4.bmp", "stones5.bmp",
        "stones6.bmp", "stones7.bmp", "blank.bmp", "decal1.bmp", "decal2.bmp", "decal3.bmp", "decal4.bmp",
        "decal5.bmp", "decal6.bmp", "decal7.bmp", "decal8.bmp", "decal9.bmp", "decal10.bmp", "decal11.bmp",
        "decal12.bmp", "decal13.bmp", "decal14.bmp",
        // map set
        "move.bmp", "border.bmp", "hud1.bmp", "reel1.bmp", "reel2.bmp", "reel3.bmp", "reel4.bmp", "bread.bmp",
        "controler.bmp", "feeder.bmp", "hook1.bmp", "ledger.bmp", "method.bmp", "float.bmp", "inline.bmp",
        "maggot.bmp", "pellets.bmp", "worms.bmp", "boilie1.bmp", "boilie2.bmp", "popup1.bmp", "popup2.bmp",
        "casters.bmp", "corn.bmp", "tigers.bmp", "meat.bmp", "rig1.bmp", "rig2.bmp", "rig3.bmp", "rig4.bmp",
        "rig5.bmp", "rig6.bmp", "rig7.bmp", "mgbait.bmp", "fgbait.bmp", "hemp.bmp", "wheat.bmp", "barley.bmp",
        "groats.bmp",
        // lakeside set
        "gull.bmp", "carp1.bmp", "pec1.bmp", "mouth.bmp", "tail.bmp", "carp2.bmp", "border1.bmp", "border1b.bmp",
        "border1c.bmp", "border1d.bmp", "surface.bmp", "carp6.bmp", "carp7.bmp", "carp8.bmp", "carp9.bmp",
        "carp10.bmp", "carp11.bmp", "carp12.bmp", "carp13.bmp", "carp14.bmp", "carp15.bmp", "carp16.bmp",
        "carp17.bmp", "carp18.bmp", "carp19.bmp", "carp20.bmp", "carp21.bmp", "common.bmp", "mirror.bmp",
        "mirror2.bmp", "mirror3.bmp", "mirror4.bmp", "carp22.bmp", "carp23.bmp", "carp24.bmp", "carp25.bmp",
        "carp26.bmp", "carp27.bmp", "s1tex.bmp", "sbacktex.bmp", "sfronttex.bmp", "car1tex.bmp", "car2tex.bmp",
        "car3tex.bmp", "knobtex.bmp", "but.bmp", "bricks.bmp", "bricks2.bmp", "bricks3.bmp", "sky.bmp",
        "swarm1.bmp", "swarm2.bmp", "bubble.bmp", "dragon.bmp", "ripple1.bmp", "ripple2.bmp", "ripple3.bmp",
        "alarm.bmp", "alarm2.bmp", "cursor.bmp", "waggler.bmp", "control.bmp", "catapult.bmp", "catapult2.bmp",
        "catapult3.bmp", "catapult4.bmp", "sling.bmp", "mat.bmp", "water2.bmp", "sky2.tga", "water.tga",
        "water3.tga", "water3b.bmp", "vrip1.bmp", "vrip2.bmp", "vrip3.bmp", "rear.bmp", "bins1.bmp", "rest.bmp",
        "cursor2.bmp", "cursor3.bmp", "cursor4.bmp", "carp3.bmp", "carp4.bmp", "carp5.bmp", "alarmon.bmp",
        "alarmlat.bmp", "3drod.bmp", "ring.bmp", "torque.bmp", "cap.bmp", "line.bmp", "line2.bmp", "net.bmp",
        "swinger2.bmp",
    };
    return names;
}

}  // namespace ag
