// Reading the lake model file: strict token parsing into a complete model.
#include "world/lake_model.h"
#include <cstdio>
#include <memory>
#include "platform/file_bytes.h"
#include "common/number_token.h"
#include "common/printable_text.h"

namespace {

const char* const CELL_FIELDS[13] = {
    "x of corner 0", "x of corner 1", "x of corner 2", "x of corner 3",
    "height of corner 0", "height of corner 1", "height of corner 2", "height of corner 3",
    "z of corner 0", "z of corner 1", "z of corner 2", "z of corner 3", "ground texture"};

// Where in the file a value belongs, for messages.
struct Place {
    const char* record;  // "terrain cell", "billboard", ...
    int32_t number;
    const char* field;
};

class ModelReader {
public:
    ModelReader(const char* text, size_t length) : p_(text), end_(text + length) {}

    bool Float(float* out, const Place& at) {
        std::string_view t;
        if (!Next(&t, at)) return false;
        if (!ParseFloatToken(t, out)) return Fail(t, "is not a finite number", at);
        return true;
    }

    bool Int(int32_t* out, const Place& at) {
        std::string_view t;
        if (!Next(&t, at)) return false;
        if (!ParseIntToken(t, out)) return Fail(t, "is not a whole number", at);
        return true;
    }

    bool Flag(uint8_t* out, const Place& at) {
        int32_t v = 0;
        if (!Int(&v, at)) return false;
        if (v != 0 && v != 1) return Fail(last_, "is not 0 or 1", at);
        *out = static_cast<uint8_t>(v);
        return true;
    }

    bool Kind(int32_t* out, int32_t first, int32_t last, bool inUse, const Place& at) {
        if (!Int(out, at)) return false;
        if (inUse && (*out < first || *out > last)) {
            char range[40];
            std::snprintf(range, sizeof range, "is not a kind from %d to %d", first, last);
            return Fail(last_, range, at);
        }
        return true;
    }

    const std::string& Error() const { return error_; }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

    bool Next(std::string_view* token, const Place& at) {
        while (p_ < end_ && IsSpace(*p_)) ++p_;
        if (p_ == end_) {
            char text[200];
            std::snprintf(text, sizeof text,
                          "the file ends after %d of its %d numbers (it stops at %s %d, %s)", count_,
                          LAKE_MODEL_VALUE_COUNT, at.record, at.number, at.field);
            error_ = text;
            return false;
        }
        const char* start = p_;
        while (p_ < end_ && !IsSpace(*p_)) ++p_;
        *token = last_ = std::string_view(start, static_cast<size_t>(p_ - start));
        ++count_;
        return true;
    }

    bool Fail(std::string_view token, const char* problem, const Place& at) {
        const std::string shown = PrintableText(token, 24);
        char text[400];
        std::snprintf(text, sizeof text, "number %d of the file, \"%s\", %s (%s %d, %s)", count_, shown.c_str(),
                      problem, at.record, at.number, at.field);
        error_ = text;
        return false;
    }

    const char* p_;
    const char* end_;
    int32_t count_ = 0;
    std::string_view last_;
    std::string error_;
};

// Corners at the water's edge lie at the surface.
void SnapEdgeHeights(TerrainCell* cell) {
    for (float& h : cell->y)
        if (h > -0.2f && h < 0.0f) h = 0.0f;
}

bool ReadCells(ModelReader& in, LakeModel* m) {
    for (int32_t i = 0; i < TERRAIN_GRID_CELLS; ++i) {
        TerrainCell& c = m->cells[i];
        float* reals[12] = {&c.x[0], &c.x[1], &c.x[2], &c.x[3], &c.y[0], &c.y[1],
                            &c.y[2], &c.y[3], &c.z[0], &c.z[1], &c.z[2], &c.z[3]};
        for (int f = 0; f < 12; ++f)
            if (!in.Float(reals[f], {"terrain cell", i, CELL_FIELDS[f]})) return false;
        if (!in.Int(&c.groundTexture, {"terrain cell", i, CELL_FIELDS[12]})) return false;
        SnapEdgeHeights(&c);
    }
    return true;
}

// The fields a billboard and a scenery item share: active flag, kind, x, height, z and size.
template <class Placed>
bool ReadPlaced(ModelReader& in, const char* record, int32_t i, int32_t kindMax, Placed* p) {
    if (!in.Flag(&p->active, {record, i, "active flag"})) return false;
    if (!in.Kind(&p->type, 1, kindMax, p->active != 0, {record, i, "kind"})) return false;
    return in.Float(&p->x, {record, i, "x"}) && in.Float(&p->y, {record, i, "height"}) &&
           in.Float(&p->z, {record, i, "z"}) && in.Float(&p->size, {record, i, "size"});
}

bool ReadBillboards(ModelReader& in, LakeModel* m) {
    for (int32_t i = 1; i < BILLBOARD_COUNT; ++i)
        if (!ReadPlaced(in, "billboard", i, BILLBOARD_TYPE_MAX, &m->billboards[i])) return false;
    return true;
}

bool ReadItems(ModelReader& in, LakeModel* m) {
    for (int32_t i = 0; i < SCENERY_ITEM_COUNT; ++i) {
        SceneryItem& s = m->items[i];
        if (!ReadPlaced(in, "scenery item", i, SCENERY_ITEM_TYPE_MAX, &s)) return false;
        if (!in.Float(&s.heading, {"scenery item", i, "heading"})) return false;
    }
    return true;
}

bool ReadPoint(ModelReader& in, const char* record, int32_t i, LakeModel::PointSpawn* p) {
    return in.Float(&p->x, {record, i, "x"}) && in.Float(&p->y, {record, i, "height"}) &&
           in.Float(&p->z, {record, i, "z"});
}

bool ReadSpawnLists(ModelReader& in, LakeModel* m) {
    for (int32_t i = 0; i < LAKE_MODEL_SWARM_RECORDS; ++i) {
        uint8_t flag = 0;
        LakeModel::SwarmSpawn s{};
        LakeModel::PointSpawn p{};
        if (!in.Flag(&flag, {"insect swarm record", i, "flag"})) return false;
        if (!in.Int(&s.type, {"insect swarm record", i, "swarm type"})) return false;
        if (!ReadPoint(in, "insect swarm record", i, &p)) return false;
        // A swarm of a type the game has no insects for is left out; the rest of the lake is good.
        if (flag && (s.type == 1 || s.type == 2)) m->swarms.push_back({p.x, p.y, p.z, s.type});
    }
    struct List {
        const char* record;
        int32_t count;
        std::vector<LakeModel::PointSpawn>* spawns;
    };
    const List lists[] = {{"bubble spot record", LAKE_MODEL_BUBBLE_RECORDS, &m->bubbleSpots},
                          {"dragonfly record", LAKE_MODEL_DRAGONFLY_RECORDS, &m->dragonflies}};
    for (const List& list : lists) {
        for (int32_t i = 0; i < list.count; ++i) {
            uint8_t flag = 0;
            LakeModel::PointSpawn p{};
            if (!in.Flag(&flag, {list.record, i, "flag"}) || !ReadPoint(in, list.record, i, &p)) return false;
            if (flag) list.spawns->push_back(p);
        }
    }
    return true;
}

}  // namespace

LakeModelResult ParseLakeModel(const char* text, size_t length, LakeModel* out) {
    LakeModelResult result;
    auto model = std::make_unique<LakeModel>();
    ModelReader in(text, length);
    if (!ReadCells(in, model.get()) || !ReadBillboards(in, model.get()) || !ReadItems(in, model.get()) ||
        !ReadSpawnLists(in, model.get())) {
        result.error = in.Error();
        return result;
    }
    *out = std::move(*model);
    result.ok = true;
    return result;
}

LakeModelResult ReadLakeModelFile(const char* gamePath, LakeModel* out) {
    LakeModelResult result;
    std::vector<uint8_t> bytes;
    std::string why;
    if (plat::ReadGameFile(gamePath, LAKE_MODEL_MAX_BYTES, &bytes, &why) != plat::FileRead::OK) {
        result.error = std::string("the file ") + gamePath + " cannot be read: " + why;
        return result;
    }
    result = ParseLakeModel(reinterpret_cast<const char*>(bytes.data()), bytes.size(), out);
    if (!result.ok) result.error = std::string(gamePath) + ": " + result.error;
    return result;
}
