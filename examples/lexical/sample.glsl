#version 330
uniform vec3 v; // c
