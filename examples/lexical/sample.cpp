class A { bool b = x and y; };
