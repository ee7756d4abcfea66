/* Calls a WINAPI function with 32-bit arguments and reports how far the stack pointer
   moved across the call: 0 when the function removed exactly the arguments pushed.

   uint32_t __cdecl VelmorinCallStdcall(void* function, const uint32_t* arguments,
                                        uint32_t count, int32_t* stackDelta);        */
        .text
        .globl  _VelmorinCallStdcall
        .def    _VelmorinCallStdcall; .scl 2; .type 32; .endef
_VelmorinCallStdcall:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        movl    12(%ebp), %esi          /* arguments */
        movl    16(%ebp), %ecx          /* count */
        movl    %esp, %ebx              /* the stack pointer before the arguments */
1:      testl   %ecx, %ecx
        jz      2f
        pushl   -4(%esi,%ecx,4)         /* last argument first */
        decl    %ecx
        jmp     1b
2:      call    *8(%ebp)
        movl    %esp, %ecx
        subl    %ebx, %ecx              /* the stack pointer after the call, compared */
        movl    %ebx, %esp              /* back to a known state either way */
        movl    20(%ebp), %edi
        movl    %ecx, (%edi)
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
