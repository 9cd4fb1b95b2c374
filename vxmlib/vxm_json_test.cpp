#include "vxmlib/vxm_json.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "vxmlib/testing/model_builder.h"

namespace {

using namespace vxm_test;

std::string ModelToJson(const VXM& model) {
  std::string text;
  EXPECT_TRUE(
      WriteModelJson(model, [&](const char* bytes, size_t n) { return text.append(bytes, n), true; }));
  return text;
}

TEST(VXMJson, MeshesAndOtherObjects) {
  VXM model;
  VXMMeshClass* mesh = SmallMesh("hull", 0x50000);
  VXMMeshClass::SetText(mesh->qualifier, "\xe9t\xe9");
  mesh->triangles[0].attribute = 7;
  mesh->triangles[0].normal = {0, 0, 1};
  mesh->triangles[0].distance = -2.5f;
  model.objects.Add(mesh);
  VXMOtherObjectClass* other = new VXMOtherObjectClass(3);
  other->body.Allocate(5);
  model.objects.Add(other);

  EXPECT_EQ(nlohmann::json::parse(ModelToJson(model)), nlohmann::json::parse(R"({"objects":[
      {"kind":0,"name":"hull","qualifier":"\u00e9t\u00e9","format":327680,"vertices":[[0,0,0],[1,0,0],[0,1,0]],
       "triangles":[{"v":[0,1,2],"attr":7,"normal":[0,0,1],"distance":-2.5}]},
      {"kind":3,"size":5}]})"));
}

TEST(VXMJson, FloatsReadBackToTheSameValue) {
  const float values[] = {0.1f,    1.0f / 3, -0.0f,       16777217.0f, FLT_MAX,
                          FLT_MIN, 1e-45f,   123456.789f, -7.1e-10f};
  VXM model;
  VXMMeshClass* mesh = MakeMesh("v", "", 0, {}, {});
  mesh->Allocate(sizeof values / sizeof values[0], 0);
  for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i)
    mesh->vertices[i] = {values[i], NAN, INFINITY};
  model.objects.Add(mesh);
  std::string text = ModelToJson(model);
  EXPECT_NE(text.find("[0.1,\"NaN\",\"Infinity\"]"), std::string::npos) << text;
  nlohmann::json json = nlohmann::json::parse(text);
  for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i) {
    std::string number = json["objects"][0]["vertices"][i][0].dump();
    float back = strtof(number.c_str(), nullptr);
    EXPECT_EQ(back, values[i]) << number;
    EXPECT_EQ(std::signbit(back), std::signbit(values[i])) << number;
  }
}

}  // namespace
