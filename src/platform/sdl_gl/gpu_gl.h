#pragma once
// OpenGL for the back-end's GPU files, with each call counted for the frame statistics
// (gpu_stats.h): every GL function those files call is listed here, so that a call
// reaches epoxy through gl_counted. A function missing from the list would be called
// uncounted; the list holds every one the GPU files use but glGetError, which runs only
// when TESMORA_GL_CHECK asks for checks and is no part of the drawing.
#include <epoxy/gl.h>

#include "core/types.h"

extern i64 gpu_gl_calls;  // this frame so far (pipeline_present starts the count again)

template <typename Function>
inline Function gl_counted(Function function) {
    gpu_gl_calls++;
    return function;
}

#define GL_COUNTED(name) gl_counted(epoxy_##name)

#undef glActiveTexture
#define glActiveTexture GL_COUNTED(glActiveTexture)
#undef glAttachShader
#define glAttachShader GL_COUNTED(glAttachShader)
#undef glBindBuffer
#define glBindBuffer GL_COUNTED(glBindBuffer)
#undef glBindFramebuffer
#define glBindFramebuffer GL_COUNTED(glBindFramebuffer)
#undef glBindTexture
#define glBindTexture GL_COUNTED(glBindTexture)
#undef glBindVertexArray
#define glBindVertexArray GL_COUNTED(glBindVertexArray)
#undef glBlendFunc
#define glBlendFunc GL_COUNTED(glBlendFunc)
#undef glBufferData
#define glBufferData GL_COUNTED(glBufferData)
#undef glBufferSubData
#define glBufferSubData GL_COUNTED(glBufferSubData)
#undef glCheckFramebufferStatus
#define glCheckFramebufferStatus GL_COUNTED(glCheckFramebufferStatus)
#undef glClear
#define glClear GL_COUNTED(glClear)
#undef glClearColor
#define glClearColor GL_COUNTED(glClearColor)
#undef glCompileShader
#define glCompileShader GL_COUNTED(glCompileShader)
#undef glCreateProgram
#define glCreateProgram GL_COUNTED(glCreateProgram)
#undef glCreateShader
#define glCreateShader GL_COUNTED(glCreateShader)
#undef glDeleteBuffers
#define glDeleteBuffers GL_COUNTED(glDeleteBuffers)
#undef glDeleteFramebuffers
#define glDeleteFramebuffers GL_COUNTED(glDeleteFramebuffers)
#undef glDeleteProgram
#define glDeleteProgram GL_COUNTED(glDeleteProgram)
#undef glDeleteShader
#define glDeleteShader GL_COUNTED(glDeleteShader)
#undef glDeleteTextures
#define glDeleteTextures GL_COUNTED(glDeleteTextures)
#undef glDeleteVertexArrays
#define glDeleteVertexArrays GL_COUNTED(glDeleteVertexArrays)
#undef glDetachShader
#define glDetachShader GL_COUNTED(glDetachShader)
#undef glDisable
#define glDisable GL_COUNTED(glDisable)
#undef glDrawArrays
#define glDrawArrays GL_COUNTED(glDrawArrays)
#undef glDrawArraysInstanced
#define glDrawArraysInstanced GL_COUNTED(glDrawArraysInstanced)
#undef glDrawBuffers
#define glDrawBuffers GL_COUNTED(glDrawBuffers)
#undef glEnable
#define glEnable GL_COUNTED(glEnable)
#undef glEnableVertexAttribArray
#define glEnableVertexAttribArray GL_COUNTED(glEnableVertexAttribArray)
#undef glFramebufferTexture2D
#define glFramebufferTexture2D GL_COUNTED(glFramebufferTexture2D)
#undef glGenBuffers
#define glGenBuffers GL_COUNTED(glGenBuffers)
#undef glGenFramebuffers
#define glGenFramebuffers GL_COUNTED(glGenFramebuffers)
#undef glGenTextures
#define glGenTextures GL_COUNTED(glGenTextures)
#undef glGenVertexArrays
#define glGenVertexArrays GL_COUNTED(glGenVertexArrays)
#undef glGenerateMipmap
#define glGenerateMipmap GL_COUNTED(glGenerateMipmap)
#undef glGetIntegerv
#define glGetIntegerv GL_COUNTED(glGetIntegerv)
#undef glGetProgramInfoLog
#define glGetProgramInfoLog GL_COUNTED(glGetProgramInfoLog)
#undef glGetProgramiv
#define glGetProgramiv GL_COUNTED(glGetProgramiv)
#undef glGetShaderInfoLog
#define glGetShaderInfoLog GL_COUNTED(glGetShaderInfoLog)
#undef glGetShaderiv
#define glGetShaderiv GL_COUNTED(glGetShaderiv)
#undef glGetString
#define glGetString GL_COUNTED(glGetString)
#undef glGetTexLevelParameteriv
#define glGetTexLevelParameteriv GL_COUNTED(glGetTexLevelParameteriv)
#undef glGetTexParameteriv
#define glGetTexParameteriv GL_COUNTED(glGetTexParameteriv)
#undef glGetUniformLocation
#define glGetUniformLocation GL_COUNTED(glGetUniformLocation)
#undef glIsProgram
#define glIsProgram GL_COUNTED(glIsProgram)
#undef glLinkProgram
#define glLinkProgram GL_COUNTED(glLinkProgram)
#undef glPixelStorei
#define glPixelStorei GL_COUNTED(glPixelStorei)
#undef glScissor
#define glScissor GL_COUNTED(glScissor)
#undef glShaderSource
#define glShaderSource GL_COUNTED(glShaderSource)
#undef glTexImage2D
#define glTexImage2D GL_COUNTED(glTexImage2D)
#undef glTexParameteri
#define glTexParameteri GL_COUNTED(glTexParameteri)
#undef glUniform1f
#define glUniform1f GL_COUNTED(glUniform1f)
#undef glUniform1i
#define glUniform1i GL_COUNTED(glUniform1i)
#undef glUniform4f
#define glUniform4f GL_COUNTED(glUniform4f)
#undef glUniformMatrix4fv
#define glUniformMatrix4fv GL_COUNTED(glUniformMatrix4fv)
#undef glUseProgram
#define glUseProgram GL_COUNTED(glUseProgram)
#undef glVertexAttribDivisor
#define glVertexAttribDivisor GL_COUNTED(glVertexAttribDivisor)
#undef glVertexAttribPointer
#define glVertexAttribPointer GL_COUNTED(glVertexAttribPointer)
#undef glViewport
#define glViewport GL_COUNTED(glViewport)
